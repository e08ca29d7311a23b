#include "Config.h"
#include "DisplayManager.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Object.h"
#include "Shape.h"
#include "TestEnv.h"
#include "WorldManager.h"
#include "XServer.h"

#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

using vk::Shape;
using vk::Vector;

namespace {

// The whole engine; with a window on a private X server unless the
// configuration says headless.
struct Engine {
    vktest::XServer x_server;
    vktest::TestEnv env;
    bool started = false;
    explicit Engine(const std::string &config = "") : env("networking:false," + config) {
        setenv("VESSIK_LOG_LEVEL", "5", 1);
        started = x_server.ok() && vk::GameManager::getInstance().startUp() == 0;
    }
    ~Engine() {
        vk::GameManager::getInstance().shutDown();
        unsetenv("VESSIK_LOG_LEVEL");
    }
};

// The window's back buffer with everything drawn so far.
sf::Image screenshot() {
    vk::DisplayManager &display = vk::DisplayManager::getInstance();
    display.flush();
    sf::Texture texture;
    texture.create(display.getWindow()->getSize().x, display.getWindow()->getSize().y);
    texture.update(*display.getWindow());
    return texture.copyToImage();
}

int countPixels(const sf::Image &image, sf::Color color) {
    int count = 0;
    for (unsigned y = 0; y < image.getSize().y; y++)
        for (unsigned x = 0; x < image.getSize().x; x++)
            count += image.getPixel(x, y) == color;
    return count;
}

const sf::CircleShape &figure() {
    const sf::CircleShape *p_figure = Shape::getFigure();
    EXPECT_NE(p_figure, nullptr);
    return *p_figure;
}

} // namespace

TEST(Shape, DefaultIsAnOpaqueWhiteCircleOfTheFontsSize) {
    {
        vktest::TestEnv env("");
        EXPECT_EQ(Shape().toString(), "circle, size 24.000000, White, 255");
    }
    // cells of 12.5 x 25 pixels: the whole 12 times 1.5
    Engine engine("headless:true,window_horizontal_pixels:1000,window_vertical_pixels:600,font_scale:1.5,");
    ASSERT_TRUE(engine.started);
    EXPECT_FLOAT_EQ(Shape().getSize(), 18.0f);
}

TEST(Shape, TypesOutsideNoneToTriangleAreRefused) {
    vktest::TestEnv env("");
    vk::LogManager::getInstance().startUp();
    Shape shape;
    shape.setType(vk::SQUARE);
    for (int bad : {3, -2}) {
        shape.setType(bad);
        EXPECT_EQ(shape.getType(), vk::SQUARE);
        EXPECT_TRUE(env.logHas("Shape::setType(): Unknown shape type " + std::to_string(bad) + ". Ignoring."));
    }
    shape.setType(vk::SHAPE_NONE);
    shape.setSize(2.5f);
    shape.setColor(1, 2, 3);
    shape.setAlpha(7);
    EXPECT_EQ(shape.toString(), "undefined, size 2.500000, Unknown color, 7");
    vk::LogManager::getInstance().shutDown();
}

TEST(Shape, WithoutAWindowNothingIsDrawnAndTheReasonLogged) {
    Engine engine("headless:true,");
    ASSERT_TRUE(engine.started);
    Shape shape;
    shape.setColor(vk::RED);
    EXPECT_EQ(shape.draw(Vector(3, 3)), -1);
    EXPECT_TRUE(engine.env.logHas("Shape::draw(): DisplayManager window not defined."));
    // nothing was converted either
    EXPECT_EQ(shape.getR(), 0);
}

TEST(Shape, CirclePointCountFollowsTheSizeBetweenThreeAndTen) {
    Engine engine;
    ASSERT_TRUE(engine.started);
    Shape shape;
    for (const auto &[size, points] : {std::pair{2.0f, 3u}, {3.0f, 3u}, {6.7f, 6u}, {10.0f, 10u}, {24.0f, 10u},
                                       {std::nanf(""), 3u}}) {
        shape.setSize(size);
        ASSERT_EQ(shape.draw(Vector(10, 5)), 0);
        EXPECT_EQ(figure().getPointCount(), points) << "size " << size;
    }
}

TEST(Shape, EachKindIsPlacedAndSizedAroundItsCellInPixels) {
    Engine engine;
    ASSERT_TRUE(engine.started);
    // the view has scrolled: shapes are drawn where the view shows them
    vk::WorldManager &wm = vk::WorldManager::getInstance();
    wm.setBoundary(vk::Box(Vector(0, 0), 200, 100));
    wm.setView(vk::Box(Vector(20, 10), 80, 24));
    Shape shape;
    shape.setSize(8);
    const Vector world(30, 12); // view (10, 2): pixels (128, 64)

    ASSERT_EQ(shape.draw(world), 0);
    EXPECT_FLOAT_EQ(figure().getRadius(), 8);
    EXPECT_FLOAT_EQ(figure().getRotation(), 0);
    EXPECT_EQ(figure().getPosition(), sf::Vector2f(124, 60));

    shape.setType(vk::SQUARE);
    ASSERT_EQ(shape.draw(world), 0);
    EXPECT_EQ(figure().getPointCount(), 4u);
    EXPECT_FLOAT_EQ(figure().getRadius(), 4); // size over the font scale 2
    EXPECT_FLOAT_EQ(figure().getRotation(), 45);
    EXPECT_FLOAT_EQ(figure().getPosition().x, 132);
    EXPECT_FLOAT_EQ(figure().getPosition().y, 64 - 8 / 1.75f);

    // after a square, the triangle is not turned
    shape.setType(vk::TRIANGLE);
    ASSERT_EQ(shape.draw(world), 0);
    EXPECT_EQ(figure().getPointCount(), 3u);
    EXPECT_FLOAT_EQ(figure().getRadius(), 4);
    EXPECT_FLOAT_EQ(figure().getRotation(), 0);
    EXPECT_EQ(figure().getPosition(), sf::Vector2f(124, 60));

    shape.setType(vk::SQUARE);
    ASSERT_EQ(shape.draw(world), 0);
    shape.setType(vk::CIRCLE);
    ASSERT_EQ(shape.draw(world), 0);
    EXPECT_FLOAT_EQ(figure().getRotation(), 0);
}

TEST(Shape, NamedColoursOverwriteTheBytesAndCustomKeepsThem) {
    Engine engine;
    ASSERT_TRUE(engine.started);
    Shape shape;
    shape.setColor(vk::RED);
    shape.setAlpha(100);
    ASSERT_EQ(shape.draw(Vector(5, 5)), 0);
    EXPECT_EQ(figure().getFillColor(), sf::Color(255, 0, 0, 100));
    EXPECT_EQ(shape.getR(), 255);
    EXPECT_EQ(shape.getG(), 0);
    EXPECT_EQ(shape.getB(), 0);

    shape.setColor(12, 34, 56);
    EXPECT_EQ(shape.getColor(), vk::CUSTOM);
    ASSERT_EQ(shape.draw(Vector(5, 5)), 0);
    EXPECT_EQ(figure().getFillColor(), sf::Color(12, 34, 56, 100));
    EXPECT_EQ(shape.getR(), 12);
}

TEST(Shape, NoneDrawsNothingAndLeavesTheFigureAlone) {
    Engine engine;
    ASSERT_TRUE(engine.started);
    Shape circle;
    circle.setColor(vk::GREEN);
    ASSERT_EQ(circle.draw(Vector(10, 10)), 0);
    const sf::Vector2f at = figure().getPosition();

    Shape none;
    none.setColor(vk::RED);
    none.setType(vk::SHAPE_NONE);
    EXPECT_EQ(none.draw(Vector(30, 20)), 0);
    EXPECT_EQ(none.getR(), 0) << "not even its colour was converted";
    EXPECT_EQ(figure().getFillColor(), sf::Color(0, 255, 0));
    EXPECT_EQ(figure().getPosition(), at);
}

TEST(Shape, ObjectsDrawTheirShapeOverTheirCellButPlainObjectsNone) {
    Engine engine;
    ASSERT_TRUE(engine.started);
    auto *p_plain = new vk::Object;
    p_plain->setPosition(Vector(20, 10));
    EXPECT_EQ(p_plain->getShape().getType(), vk::SHAPE_NONE);

    auto *p_dot = new vk::Object;
    p_dot->setPosition(Vector(40, 12));
    Shape shape;
    shape.setColor(vk::GREEN);
    shape.setSize(10);
    p_dot->setModified(0);
    p_dot->setShape(shape);
    EXPECT_EQ(p_dot->getModified(), vk::attr::SHAPE);
    vk::WorldManager::getInstance().draw();

    const sf::Image image = screenshot();
    // a circle of radius 10 around pixel (512, 384), drawn from its corner
    // at (507, 379): nearly its whole disc is green
    const int green = countPixels(image, sf::Color(0, 255, 0));
    EXPECT_GT(green, 250);
    EXPECT_LT(green, 330);
    EXPECT_EQ(image.getPixel(517, 389), sf::Color(0, 255, 0));
    EXPECT_EQ(image.getPixel(400, 300), sf::Color(0, 0, 0));
}
