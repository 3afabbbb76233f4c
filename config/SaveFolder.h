#pragma once

#include <functional>
#include <set>
#include <string>

#include "platform/FileIo.h"

namespace brv {

struct GameLocation;

// The folder holding the files the game writes: the window settings "dx.cfg"
// and the high-score table "scores.tab" (an old "d.cfg" and a leftover
// "save.sav" are removed from it). Chosen once at start-up. A game run from a
// folder the player can write keeps them in that folder's own "data/", beside
// the archive, as it always has. An installed game, whose data set is shared
// by everyone on the machine, and a game whose folder the player cannot write
// keep them in the player's data folder instead, in the same formats.
class SaveFolder {
public:
    // `userDir` is the player's data folder for the game (userDataDir()),
    // empty when there is none.
    SaveFolder(const GameLocation& location, std::string userDir);

    // "$XDG_DATA_HOME/brevora", else "$HOME/.local/share/brevora"; empty when
    // neither variable names an absolute folder.
    static std::string userDataDir();

    // Empty when there is no folder to save in at all; writePath() is then
    // empty too.
    const std::string& dir() const { return dir_; }
    std::string writePath(const char* name) const;
    // The file in dir(), or the game's own one while the player's folder holds
    // none yet: settings or a table shipped beside the archive, or those of a
    // game folder that can no longer be written, are read and then saved anew.
    std::string readPath(const char* name) const;

    // dir() as an absolute folder, for messages that tell the player where.
    std::string shownDir() const;
    // Writes the file `name` of the folder with `write` (given its path). A
    // missing folder or a failed write is noted and told once on stderr;
    // false then. A file there that cannot be read, or that the game refused
    // to read this run, is never written over: what it holds may be the
    // player's and only its access is wrong. A link there is never written
    // through: the file takes the link's place (told once on stderr) and
    // what the link led to stays as it was.
    bool save(const char* name, const std::function<bool(const std::string& path)>& write);

    // Says on stderr, once per file and run, that `path` is there but cannot
    // be read (and why), so it is left as it is.
    void reportUnreadable(const std::string& path, const ReadProblem& why) const;

    // Why the files cannot be saved; empty while they can.
    const std::string& problem() const { return problem_; }
    // A save into dir() failed; `error` is the errno it left, or 0.
    void noteFailedSave(int error);
    // Says on stderr, once per run, that nothing can be saved: the folder and
    // the reason. Does nothing while saving works.
    void reportProblem();

private:
    std::string ownDir_;
    std::string dir_;
    std::string problem_;
    bool reported_ = false;
    // Says on stderr, once per file and run, that a save replaces the link at `path`.
    void reportReplacedLink(const std::string& path);

    // Told from const readers too (the preferences); only the telling changes.
    // Also the files the game refused to read, which are never saved over.
    mutable std::set<std::string> toldUnreadable_;
    std::set<std::string> toldLink_;
};

}  // namespace brv
