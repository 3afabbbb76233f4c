// A forager bot for Brevora, protocol version 1 (see docs/bots.md), in plain
// C++ with no library beyond the standard one: copy it and make it yours.
//
// It keeps one flag on the richest life source near its colony and moves on
// when that source runs low; while the flag allowance has room, it sends a
// second flag at the nearest enemy colony smaller than its own.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Just enough JSON for the game's messages: numbers, strings, booleans,
// null, lists and objects.
struct Json {
    double number = 0;
    std::string text;
    std::vector<Json> list;
    std::map<std::string, Json> fields;
    const Json& operator[](const std::string& key) const {
        static const Json none;
        auto it = fields.find(key);
        return it == fields.end() ? none : it->second;
    }
    const Json& operator[](std::size_t i) const { return list.at(i); }
    int whole() const { return static_cast<int>(std::lround(number)); }
    bool has(const std::string& key) const { return fields.count(key) > 0; }
};

class Reader {
public:
    explicit Reader(const std::string& s) : s_(s) {}
    Json value() {
        skip();
        Json v;
        const char c = at_ < s_.size() ? s_[at_] : '\0';
        if (c == '{') {
            for (++at_; skip(), at_ < s_.size() && s_[at_] != '}';) {
                const std::string key = value().text;
                skip(), ++at_;  // the colon
                v.fields[key] = value();
                skip(), at_ += at_ < s_.size() && s_[at_] == ',' ? 1 : 0;
            }
            ++at_;
        } else if (c == '[') {
            for (++at_; skip(), at_ < s_.size() && s_[at_] != ']';) {
                v.list.push_back(value());
                skip(), at_ += at_ < s_.size() && s_[at_] == ',' ? 1 : 0;
            }
            ++at_;
        } else if (c == '"') {
            for (++at_; at_ < s_.size() && s_[at_] != '"'; ++at_) {
                at_ += s_[at_] == '\\' ? 1 : 0;  // escapes kept as the character after
                v.text += at_ < s_.size() ? s_[at_] : '\0';
            }
            ++at_;
        } else {
            std::size_t used = 0;
            v.number = c == 't' ? 1 : 0;
            try {
                v.number = std::stod(s_.substr(at_, 32), &used);
            } catch (...) {  // true, false, null
                used = c == 'f' ? 5 : 4;
            }
            at_ += used;
        }
        return v;
    }

private:
    void skip() {
        while (at_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[at_]))) {
            ++at_;
        }
    }
    const std::string& s_;
    std::size_t at_ = 0;
};

struct Point {
    double x = 0, y = 0;
};

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The mean cell of a colony's virus runs [column, first row, length].
bool centre(const Json& cells, Point& out) {
    double total = 0, column = 0, row = 0;
    for (const Json& run : cells.list) {
        const double n = run[2].number;
        total += n;
        column += run[0].number * n;
        row += (run[1].number + (n - 1) / 2) * n;
    }
    out = {column / total, row / total};
    return total > 0;
}

constexpr double kNearCells = 50;   // sources this close to the centre count as near
constexpr double kLowShare = 0.25;  // a source below this share of its start runs low
constexpr double kDriftCells = 12;  // an attack flag this far from its enemy is moved

class Forager {
public:
    explicit Forager(const Json& greeting)
        : me_(greeting["you"].whole()),
          cell_(greeting["grid"]["cell"].number),
          reach_(greeting["flags"]["reach"].number) {}

    std::string decide(const Json& state) {
        const Json& mine = state["colonies"][static_cast<std::size_t>(me_)];
        Point home;
        if (!centre(mine["cells"], home)) {
            return "";
        }
        chooseFood(state["sources"], home);
        chooseAttack(state, mine, home);
        std::vector<Point> wanted;
        if (hasFood_) {
            wanted.push_back(at(food_));
        }
        if (hasAttack_) {
            wanted.push_back(attack_);
        }
        // Take away what we no longer want, then set what is missing.
        std::string actions;
        std::vector<Point> flags;
        for (const Json& f : mine["flags"].list) {
            flags.push_back({f[0].number, f[1].number});
        }
        for (Point f : flags) {
            if (!near(f, wanted)) {
                actions += action("remove", f);
            }
        }
        for (Point w : wanted) {
            if (!near(w, flags)) {
                actions += action("set", w);
            }
        }
        return actions;
    }

private:
    Point at(Point cell) const { return {std::round(cell.x * cell_), std::round(cell.y * cell_)}; }

    bool near(Point p, const std::vector<Point>& all) const {
        for (Point q : all) {
            if (std::abs(p.x - q.x) <= cell_ && std::abs(p.y - q.y) <= cell_) {
                return true;
            }
        }
        return false;
    }

    static std::string action(const char* what, Point p) {
        char text[64];
        std::snprintf(text, sizeof text, ",{\"%s\":[%d,%d]}", what, static_cast<int>(p.x),
                      static_cast<int>(p.y));
        return text;
    }

    void chooseFood(const Json& sources, Point home) {
        const Json* best = nullptr;
        double bestNear = -1, bestDistance = 1e9;
        bool keep = false;
        for (const Json& s : sources.list) {
            const Point cell{s["cell"][0].number, s["cell"][1].number};
            const double d = distance(cell, home);
            if (hasFood_ && distance(cell, food_) < 0.5) {
                keep = s["reserve"].number >= kLowShare * s["start"].number;
            }
            // The richest near one, or else the nearest of all.
            if ((d <= kNearCells && s["reserve"].number > bestNear) ||
                (bestNear < 0 && d < bestDistance)) {
                best = &s;
                bestNear = d <= kNearCells ? s["reserve"].number : bestNear;
                bestDistance = d;
            }
        }
        if (!keep) {
            hasFood_ = best != nullptr;
            food_ = best ? Point{(*best)["cell"][0].number, (*best)["cell"][1].number} : Point{};
        }
    }

    void chooseAttack(const Json& state, const Json& mine, Point home) {
        bool found = false;
        Point target;
        double best = 1e9;
        for (const Json& colony : state["colonies"].list) {
            Point where;
            if (colony["index"].whole() != me_ && centre(colony["cells"], where) &&
                colony["viruses"].number < mine["viruses"].number && distance(where, home) < best) {
                best = distance(where, home);
                target = at(where);
                found = true;
            }
        }
        if (!found || mine["flag_limit"].number < 2) {
            hasAttack_ = false;
            return;
        }
        if (!hasAttack_ || distance(attack_, target) > kDriftCells * cell_) {
            attack_ = target;
        }
        // Never within reach of the food flag: setting it there would take that away.
        hasAttack_ = !hasFood_ || distance(at(food_), attack_) >= 2 * reach_;
    }

    int me_;
    double cell_;
    double reach_;
    Point food_, attack_;
    bool hasFood_ = false, hasAttack_ = false;
};

}  // namespace

int main() {
    std::string line;
    if (!std::getline(std::cin, line)) {
        return 1;
    }
    const Json greeting = Reader(line).value();
    if (greeting["protocol"].whole() != 1) {
        std::cerr << "forager-bot speaks protocol 1\n";
        return 1;
    }
    Forager bot(greeting);
    while (std::getline(std::cin, line)) {
        const Json message = Reader(line).value();
        if (message.has("end")) {
            return 0;
        }
        const std::string actions = bot.decide(message);
        std::cout << "{\"decision\":" << message["decision"].whole() << ",\"actions\":["
                  << (actions.empty() ? "" : actions.substr(1)) << "]}" << std::endl;
    }
    return 0;
}
