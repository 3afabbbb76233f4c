#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/InfluenceRecord.h"
#include "sim/Timeline.h"

namespace brv {

class Colony;
class GameRules;
class LifeSource;
class RulesState;
class Virus;

// The board of one game: a 200 × 150 grid of cells, each empty or holding one
// virus, the colonies that play, the life sources that feed them and the
// influence table the Hard opponent reads. The owner adds colonies, calls
// setUp once and then update once per 30 ms tick; it alone decides when a game
// ends, from aliveColonyCount and humanColony.
class World {
public:
    static constexpr int kColumns = 200;
    static constexpr int kRows = 150;
    static constexpr int kSlots = kColumns * kRows;
    static constexpr int kMaxColonies = InfluenceRecord::kColonies;
    // The influence table is rebuilt every 30 updates; the rules state's tick
    // counter runs from 0 to one less.
    static constexpr int kInfluenceEveryTicks = 30;

    // Draws the background picture (one draw). Every draw and counter of the
    // world's rules go to `rules`, which must outlive the world. `difficulty`
    // (0 Easy, 1 Medium, 2 Hard) picks the per-difficulty values of `params`
    // for the world's whole life; the rules themselves are only read.
    World(const GameRules& params, RulesState& rules, int difficulty);
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // A player colony is a plain Colony; a computer one is a HardComputerColony
    // at difficulty 2 and a ComputerColony otherwise. Null once four exist.
    Colony* addColony(float red, float green, float blue, bool isComputer, int difficulty);
    Colony* addColony(std::unique_ptr<Colony> colony);

    // Seeds every colony in a corner with viruses, its first flag and a life
    // source, then places one more random life source per colony.
    void setUp();
    void update(int elapsedMs);
    // Which of the field pictures this world shows (drawn once, at creation).
    int backgroundIndex() const { return backgroundIndex_; }

    int aliveColonyCount() const;

    // Viruses of all colonies together.

    int virusTotal() const;
    struct HumanColony {
        Colony* colony = nullptr;
        int index = 0;  // the colony count when every side is a computer
    };
    HumanColony humanColony() const;

    void rebuildInfluence();
    void addRandomLifeSource();
    // Creates a life source on a cell and appends it (set-up and tests).
    LifeSource& addLifeSource(int column, int row);

    // Grid access. Callers keep column and row inside the grid.
    Virus* virusAt(int column, int row) const { return cells_[slotOf(column, row)].get(); }
    // A compact copy of the grid's occupation, one byte per slot in slot order:
    // 0 for an empty cell, otherwise a tag that is the same for every virus of
    // one colony and differs between colonies. The hot scans (moves, fights,
    // the update pass) read it instead of following a pointer per cell.
    const std::uint8_t* occupation() const { return owners_.data() + kOccupationPad; }
    std::uint8_t ownerAt(int column, int row) const { return occupation()[slotOf(column, row)]; }
    void placeVirus(int column, int row, std::unique_ptr<Virus> virus);
    std::unique_ptr<Virus> takeVirus(int column, int row);
    void moveVirus(int fromColumn, int fromRow, int toColumn, int toRow);
    static constexpr int columnCount() { return kColumns; }
    static constexpr int rowCount() { return kRows; }
    static int slotOf(int column, int row) { return column * kRows + row; }

    const GameRules& params() const { return params_; }
    // The index of the per-difficulty values this world plays by.
    int difficulty() const { return difficulty_; }
    RulesState& rules() { return rules_; }
    const RulesState& rules() const { return rules_; }
    const std::vector<std::unique_ptr<Colony>>& colonies() const { return colonies_; }
    const std::vector<std::unique_ptr<LifeSource>>& lifeSources() const { return lifeSources_; }
    const InfluenceTable& influence() const { return influence_; }
    // Each colony's virus count and kills over the game, from setUp on.
    const Timeline& timeline() const { return timeline_; }
    // True while the world has a colony the player steers, whether or not it
    // still has viruses.
    bool hasPlayer() const;
    // Position of a colony in the list (its influence column), -1 if foreign.
    int indexOf(const Colony* colony) const;

    // A summary of the grid (colony and life of every slot) and of every
    // colony's counters, as 16 hex digits: equal runs give equal checksums.
    std::string checksum() const;

    // Shared scratch room for the cells a move may take, sized for the largest
    // move window the rules allow and grown only if a window is larger. Its
    // size is the room; the mover keeps its own count.
    std::vector<int>& moveCandidates() { return moveCandidates_; }
    // Shared list of the slots a life source feeds in one tick.
    std::vector<int>& feedCandidates() { return feedCandidates_; }

private:
    void seedColony(Colony& colony, int column, int row);
    void updateViruses(int elapsedMs);
    void updateLifeSources(int elapsedMs);
    void weighSource(const LifeSource& source, InfluenceRecord& record) const;
    int updateVirusAt(int column, int row, int elapsedMs);
    // A column's occupied rows, bit r of the words for row r.
    struct ColumnRows {
        static constexpr int kWords = (kRows + 63) / 64;
        std::uint64_t bits[kWords] = {};
        void add(int row) { bits[row / 64] |= std::uint64_t{1} << (row % 64); }
    };
    ColumnRows occupiedRows(int column) const;
    // Empty bytes before and after the grid's occupation, so that a word or a
    // vector read near either end stays inside it.
    static constexpr int kOccupationPad = 16;
    std::uint8_t tagOf(const Colony* colony);

    const GameRules& params_;
    RulesState& rules_;
    int difficulty_;
    std::vector<std::unique_ptr<Virus>> cells_;
    std::vector<std::uint8_t> owners_;
    // The colony behind each occupation tag (tag k + 1 is entry k).
    std::vector<const Colony*> tagColonies_;
    std::vector<std::unique_ptr<Colony>> colonies_;
    std::vector<std::unique_ptr<LifeSource>> lifeSources_;
    int backgroundIndex_ = 0;
    InfluenceTable influence_;
    std::vector<int> moveCandidates_;
    std::vector<int> feedCandidates_;
    Timeline timeline_;
};

}  // namespace brv
