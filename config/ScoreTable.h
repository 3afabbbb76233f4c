#pragma once

#include <string>
#include <vector>

#include "platform/FileIo.h"

namespace brv {

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
    // file (one that is not a whole table: a count in digits matched by that
    // many names and whole-number scores) leaves the table as it was. False
    // in that case; `why` (when given) then tells an absent or unreadable
    // file from damaged bytes (left empty).
    bool load(const std::string& path, ReadProblem* why = nullptr);
    // Writes the table safely: the old file survives a failed write. False
    // when it could not be written.
    bool save(const std::string& path) const;

    // The place (0 to 6) a new score would take, or -1 when it does not enter.
    int rank(int score) const;
    // Puts the entry after every entry scoring at least as much and keeps the
    // best seven. Callers ask rank() first. An empty name is stored as
    // "Anonymous". The entry is remembered as this copy's own until saved.
    void insert(const std::string& name, int score);

    // Another copy of the game may have saved the table since this one read
    // it: an entry entered here must join that table, not replace it.
    // True while entries were entered since the last load or save.
    bool changed() const { return !added_.empty(); }
    // Takes `stored` (the table on disk now) as this table and enters again
    // every entry added here since the last save, by the usual rule.
    void rebase(const ScoreTable& stored);
    // The added entries are on disk now; they are not entered again.
    void markSaved() { added_.clear(); }

    const std::vector<Entry>& entries() const { return entries_; }
    void clear() {
        entries_.clear();
        added_.clear();
    }

    // Names are stored as typed, except the bytes the format cannot carry (a
    // double quote, a "//" that would start a comment, line breaks, tabs),
    // which travel as %XX and read back exactly as typed, as does a '%' typed
    // where it would start such an escape (written "%25"). Only those escapes
    // are decoded: any other '%' is the player's.
    static std::string encodeName(const std::string& name);
    static std::string decodeName(const std::string& stored);

private:
    void place(const Entry& entry);

    std::vector<Entry> entries_;
    // Entered by this copy since the table was last read or written, in order.
    std::vector<Entry> added_;
};

}  // namespace brv
