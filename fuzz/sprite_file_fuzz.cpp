// Feeds arbitrary bytes to the resource manager as a sprite file. Whatever
// the bytes, a load must end either with 0 and a sprite whose every frame
// holds width x height characters, or with -1 and nothing stored.

#include <vessik/core/LogManager.h>
#include <vessik/resources/ResourceManager.h>
#include <vessik/resources/Sprite.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string g_path;

void removeFile() { std::remove(g_path.c_str()); }

void check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "sprite_file_fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // every message, traces and frame dumps included, is formatted and dropped
    setenv("VESSIK_LOG", "/dev/null", 1);
    // the resource manager looks for an audio device at start-up; the silent
    // back end spares the output a sound system's complaints
    setenv("ALSOFT_DRIVERS", "null", 0);
    vk::LogManager &log = vk::LogManager::getInstance();
    if (log.startUp() != 0)
        std::abort();
    log.setLogLevel(20);
    const char *p_tmp = std::getenv("TMPDIR");
    g_path = std::string(p_tmp ? p_tmp : "/tmp") + "/vk-sprite-fuzz-" + std::to_string(getpid()) + ".txt";
    std::atexit(removeFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::FILE *p_f = std::fopen(g_path.c_str(), "wb");
    if (!p_f || std::fwrite(data, 1, size, p_f) != size || std::fclose(p_f) != 0)
        std::abort();

    vk::ResourceManager &rm = vk::ResourceManager::getInstance();
    rm.startUp();
    const int result = rm.loadSprite(g_path, "fuzz");
    const vk::Sprite *p_sprite = rm.getSprite("fuzz");
    if (result != 0) {
        check(result == -1, "load returned neither 0 nor -1");
        check(p_sprite == nullptr, "a rejected file left a sprite behind");
    } else {
        check(p_sprite != nullptr, "a loaded sprite cannot be found");
        const int width = p_sprite->getWidth();
        const int height = p_sprite->getHeight();
        check(width >= 1 && height >= 1, "sprite smaller than one cell");
        check(p_sprite->getFrameCount() >= 1, "sprite without frames");
        check(p_sprite->getFrameCount() <= p_sprite->getMaxFrameCount(), "more frames than the capacity");
        check(static_cast<std::size_t>(width) <= size, "wider than the file");
        for (int i = 0; i < p_sprite->getFrameCount(); i++) {
            const vk::Frame frame = p_sprite->getFrame(i);
            check(frame.getWidth() == width && frame.getHeight() == height, "frame of another size");
            check(frame.getString().size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                  "frame string does not fill the frame");
        }
    }
    rm.shutDown();
    return 0;
}
