#include "config/WindowSettings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "config/GameParams.h"
#include "config/KeyValueFile.h"
#include "config/SaveFolder.h"
#include "platform/FileIo.h"
#include "platform/FileLock.h"

namespace brv {

namespace {

constexpr char kKey[] = "qz";
constexpr std::size_t kKeyLength = 2;

constexpr const char* kKeys[] = {"m_window_width",       "m_window_height", "x", "y", "m_autosave",
                                 "m_last_players_count", "m_last_difficult"};

bool usableSide(int side) {
    return side > 0 && side <= WindowSettings::kMaxSide;
}

// A position this far off any desktop is damage; it is pulled back to the
// edge of the range a desktop can span.
int boundedPosition(int value) {
    return std::clamp(value, -WindowSettings::kMaxSide, WindowSettings::kMaxSide);
}

void readSettings(const KeyValueFile& file, GameParams& params) {
    auto get = [&file](const char* key) { return toInt(file.get(key, "0")); };
    params.m_window_width = get("m_window_width");
    params.m_window_height = get("m_window_height");
    params.m_window_x = boundedPosition(get("x"));
    params.m_window_y = boundedPosition(get("y"));
    params.m_autosave = get("m_autosave") == 1;
    params.m_last_players_count = get("m_last_players_count");
    params.m_last_difficult = get("m_last_difficult");
    if (!usableSide(params.m_window_width) || !usableSide(params.m_window_height)) {
        params.m_window_width = WindowSettings::kDefaultWidth;
        params.m_window_height = WindowSettings::kDefaultHeight;
    }
}

// A file of the game's that is there but cannot be read would be replaced by a
// fresh one at shutdown. It is kept aside first (replacing an older one), so
// what it still holds can be looked at or put back by hand.
void keepUnreadable(const std::string& path) {
    const std::string aside = path + ".bad";
    if (std::rename(path.c_str(), aside.c_str()) == 0) {
        std::fprintf(stderr,
                     "brevora: \"%s\" could not be read; it is kept as \"%s\" and a fresh one "
                     "will be written\n",
                     path.c_str(), aside.c_str());
    } else {
        std::fprintf(stderr, "brevora: \"%s\" could not be read, nor kept aside: %s\n",
                     path.c_str(), std::strerror(errno));
    }
}

// A file that is there but cannot be read is named and never written over;
// one whose bytes are damaged is set aside. Only files in the save folder are
// set aside: a file shipped beside the archive is not the game's to move.
void settleUnread(const SaveFolder& folder, const ReadProblem& why, const std::string& path,
                  const std::string& savedPath) {
    if (why.unreadable()) {
        folder.reportUnreadable(path, why);
    } else if (!why.absent() && path == savedPath) {
        keepUnreadable(path);
    }
}

// Runs under the lock, so no other copy writes in between: the table on disk
// now (another copy's entries included) takes this copy's new entries, and
// what is written becomes this copy's table.
bool mergeAndWrite(ScoreTable& table, const std::string& path) {
    ScoreTable stored;
    ReadProblem why;
    if (stored.load(path, &why)) {
        table.rebase(stored);
    } else if (why.unreadable()) {
        return false;
    } else if (!why.absent()) {
        keepUnreadable(path);
    }
    if (!table.save(path)) {
        return false;
    }
    table.markSaved();
    return true;
}

}  // namespace

bool WindowSettings::load(GameParams& params) {
    SaveFolder& folder = params.m_save_folder;
    folder.reportProblem();
    KeyValueFile file;
    const std::string settings = folder.readPath(kFileName);
    ReadProblem why;
    // A file holding none of the keys the game writes is damage, not settings.
    const bool read = file.loadFromFile(settings, true, kKey, kKeyLength, &why) &&
                      std::any_of(std::begin(kKeys), std::end(kKeys),
                                  [&file](const char* key) { return file.contains(key); });
    if (!read) {
        settleUnread(folder, why, settings, folder.writePath(kFileName));
    } else {
        // Only the save folder is ever changed, never files shipped beside the archive.
        if (settings == folder.writePath(kFileName)) {
            removeFile(folder.writePath(kOldFileName));
        }
        readSettings(file, params);
    }
    // The table is read even without settings, so a stored table is never
    // replaced by an empty one at the next shutdown.
    const std::string table = folder.readPath(ScoreTable::kFileName);
    if (!params.m_score_table.load(table, &why)) {
        settleUnread(folder, why, table, folder.writePath(ScoreTable::kFileName));
    }
    return read;
}

bool WindowSettings::save(GameParams& params, int windowX, int windowY) {
    KeyValueFile file;
    file.set("m_window_width", std::to_string(params.m_window_width));
    file.set("m_window_height", std::to_string(params.m_window_height));
    file.set("x", std::to_string(windowX));
    file.set("y", std::to_string(windowY));
    file.set("m_autosave", params.m_autosave ? "1" : "0");
    file.set("m_last_players_count", std::to_string(params.m_last_players_count));
    file.set("m_last_difficult", std::to_string(params.m_last_difficult));
    // Both are tried, so a settings file that cannot be written does not
    // cost the table; the folder tells the first failure once.
    const bool settingsWritten = params.m_save_folder.save(
        kFileName,
        [&file](const std::string& path) { return file.saveToFile(path, kKey, kKeyLength); });
    const bool tableWritten = saveScores(params);
    return settingsWritten && tableWritten;
}

bool WindowSettings::saveScores(GameParams& params, std::string* why) {
    ScoreTable& table = params.m_score_table;
    SaveFolder& folder = params.m_save_folder;
    const std::string path = folder.writePath(ScoreTable::kFileName);
    // Another copy of the game may share the file: one that entered nothing
    // leaves the table there as it is, whoever quits last.
    if (!table.changed() && !path.empty() && !readProblem(path).absent()) {
        return true;
    }
    std::optional<FileLock> lock;
    if (!path.empty() && makeDirectories(folder.dir())) {
        lock.emplace(path + ".lock", kLockWaitMs);
    }
    if (lock && lock->busy()) {
        std::fprintf(stderr,
                     "brevora: another program holds \"%s.lock\"; the scores are kept in the "
                     "game and saved when the table is free\n",
                     path.c_str());
        if (why != nullptr) {
            *why = "another program holds the table: kept for now";
        }
        return false;
    }
    // A lock the system cannot give is said, never passed over: saving
    // without it could interleave with another copy's save. A folder that
    // cannot be written at all is the folder's problem, told as such below.
    if (lock && !lock->held() && !folderWriteProblem(folder.dir())) {
        std::fprintf(stderr,
                     "brevora: \"%s.lock\" cannot be locked (%s); the scores are kept in the "
                     "game and not saved\n",
                     path.c_str(), lock->problem().c_str());
        if (why != nullptr) {
            *why = "the table cannot be locked (" + lock->problem() + "): kept for now";
        }
        return false;
    }
    return folder.save(ScoreTable::kFileName,
                       [&table](const std::string& file) { return mergeAndWrite(table, file); });
}

bool WindowSettings::fitOnDesktop(GameParams& params, int usableWidth, int usableHeight,
                                  const std::string& source) {
    const int mostWidth = std::max(kMinWidth, usableWidth > 0 ? usableWidth : kMaxSide);
    const int mostHeight = std::max(kMinHeight, usableHeight > 0 ? usableHeight : kMaxSide);
    const int width = std::clamp(params.m_window_width, kMinWidth, mostWidth);
    const int height = std::clamp(params.m_window_height, kMinHeight, mostHeight);
    if (width == params.m_window_width && height == params.m_window_height) {
        return false;
    }
    const std::string who = source.empty() ? "the window" : source + ": window";
    if (params.m_window_width > mostWidth || params.m_window_height > mostHeight) {
        std::fprintf(stderr,
                     "brevora: %s %i x %i does not fit the desktop (%i x %i usable); it opens "
                     "%i x %i\n",
                     who.c_str(), params.m_window_width, params.m_window_height, usableWidth,
                     usableHeight, width, height);
    } else {
        std::fprintf(stderr,
                     "brevora: %s %i x %i is too small to show the game (%i x %i at least); it "
                     "opens %i x %i\n",
                     who.c_str(), params.m_window_width, params.m_window_height, kMinWidth,
                     kMinHeight, width, height);
    }
    params.m_window_width = width;
    params.m_window_height = height;
    return true;
}

void WindowSettings::keepCentreOnDesktop(GameParams& params, int desktopWidth, int desktopHeight) {
    // C++ division truncates toward zero, as the stored position expects.
    // Widened so a damaged position cannot overflow the sum.
    if (params.m_window_x + static_cast<long long>(params.m_window_width / 2) >= desktopWidth) {
        params.m_window_x /= 2;
    }
    if (params.m_window_y + static_cast<long long>(params.m_window_height / 2) >= desktopHeight) {
        params.m_window_y /= 2;
    }
}

}  // namespace brv
