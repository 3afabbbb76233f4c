#pragma once

#include <string>
#include <vector>

namespace brv {

class BitmapFont;

// The seven best results, best first; equal scores keep the older entry
// first. Stored in "scores.tab" in the save folder as a scrambled key-value
// file with the keys num, name0.., score0...
class ScoreTable {
public:
    struct Entry {
        std::string name;
        int score = 0;
    };

    static constexpr int kSize = 7;
    static constexpr const char* kFileName = "scores.tab";
    static constexpr const char* kAnonymous = "Anonymous";

    // Replaces the entries with those of the file; an unreadable or damaged
    // file (one without a count in digits) leaves the table as it was. False
    // in that case.
    bool load(const std::string& path);
    // Writes the table safely: the old file survives a failed write. False
    // when it could not be written.
    bool save(const std::string& path) const;

    // The place (0 to 6) a new score would take, or -1 when it does not enter.
    int rank(int score) const;
    // Puts the entry after every entry scoring at least as much and keeps the
    // best seven. Callers ask rank() first. An empty name is stored as
    // "Anonymous".
    void insert(const std::string& name, int score);

    // Draws the table on the logical screen with the game's font: one line
    // every 60 units from y 150, names at x 100 and scores at x 560, yellow
    // over a black shadow. Lives with the drawing code (gfx/ScoreTableDraw.cpp)
    // so the table itself needs no GL.
    void draw(const BitmapFont& font) const;

    const std::vector<Entry>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

    // Names are stored as typed, except the bytes the format cannot carry (a
    // double quote, a "//" that would start a comment, line breaks, tabs),
    // which travel as %XX and read back exactly as typed. Only those escapes
    // are decoded: any other '%' is the player's.
    static std::string encodeName(const std::string& name);
    static std::string decodeName(const std::string& stored);

private:
    std::vector<Entry> entries_;
};

}  // namespace brv
