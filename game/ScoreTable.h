#pragma once

#include <string>
#include <vector>

// The ten best runs, best first, kept in a small text file: one run a line,
// the score and the date ("1234 2025-06-01"). The file is the player's and
// may be anything by the time it is read: a missing, unreadable, corrupt or
// oversized file is ignored with one log line and the table starts empty.
// Saving replaces the file at once (a temporary file beside it, flushed to
// disk, renamed over it), so a crash or a full disk leaves the old table.
class ScoreTable {
  public:
    static constexpr int SIZE = 10;
    // A file longer than this is not a score table; nothing past it is read.
    static constexpr long MAX_FILE_BYTES = 1024;

    struct Entry {
        int score = 0;
        std::string date;
        bool operator==(const Entry &other) const { return score == other.score && date == other.date; }
    };

    // `$XDG_DATA_HOME/swellrun/scores`, else `$HOME/.local/share/swellrun/scores`;
    // empty when neither is set.
    [[nodiscard]] static std::string defaultPath();
    // The local date as YYYY-MM-DD.
    [[nodiscard]] static std::string today();
    // Whether this run reads and keeps the table: not while it is recorded
    // or replayed, since a record must show the same frames wherever and
    // whenever it is played (no one's scores, no date).
    [[nodiscard]] static bool isKept();

    explicit ScoreTable(std::string path);

    // Replaces the table with the file's; 0, or -1 (and an empty table) when
    // the file was ignored.
    int load();
    // Writes the table to its file, creating the folder; 0 or -1.
    int save() const;

    // The place a run with `score` takes: below every run that scored as
    // much, so a tie ranks after the earlier run. SIZE + 1 when it is out.
    [[nodiscard]] int rankOf(int score) const;
    // Adds a run; its rank, or 0 when it is not among the best SIZE.
    int insert(int score, const std::string &date);

    [[nodiscard]] const std::vector<Entry> &getEntries() const noexcept { return m_entries; }
    [[nodiscard]] const std::string &getPath() const noexcept { return m_path; }

  private:
    std::string m_path;
    std::vector<Entry> m_entries;
};
