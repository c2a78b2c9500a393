#include "scenario.h"

#include <charconv>
#include <cstring>
#include <sstream>

namespace trevik::vc {
namespace {

bool Number(const std::string& s, std::uint32_t& out) {
    int base = 10;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        first += 2;
    }
    std::uint64_t v = 0;
    auto [p, ec] = std::from_chars(first, last, v, base);
    if (ec != std::errc{} || p != last || v > 0xFFFFFFFFu) {
        return false;
    }
    out = static_cast<std::uint32_t>(v);
    return true;
}

std::string RestOfLine(std::istringstream& in) {
    std::string rest;
    std::getline(in, rest);
    const auto start = rest.find_first_not_of(' ');
    return start == std::string::npos ? std::string{} : rest.substr(start);
}

} // namespace

Scenario ParseScenario(const std::string& text) {
    Scenario sc;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::istringstream in(line);
        std::string key;
        if (!(in >> key) || key[0] == '#') {
            continue;
        }
        std::vector<std::uint32_t> n;
        auto numbers = [&](std::size_t count) {
            n.clear();
            std::string word;
            for (std::size_t i = 0; i < count; ++i) {
                std::uint32_t v = 0;
                if (!(in >> word) || !Number(word, v)) {
                    return false;
                }
                n.push_back(v);
            }
            return true;
        };
        // Single-number settings, as a table.
        struct Setting {
            const char* key;
            std::uint32_t* field;
        };
        const Setting settings[] = {
            {"numdevs", &sc.numDevs},     {"xmin", &sc.xMin},           {"xmax", &sc.xMax},
            {"ymin", &sc.yMin},           {"ymax", &sc.yMax},           {"buttons", &sc.numButtons},
            {"periodmin", &sc.periodMin}, {"periodmax", &sc.periodMax},
        };
        bool ok = true;
        bool known = false;
        for (const Setting& s : settings) {
            if (key == s.key) {
                known = true;
                ok = numbers(1);
                if (ok) {
                    *s.field = n[0];
                }
            }
        }
        if (known) {
        } else if (key == "log") {
            sc.logPath = RestOfLine(in);
        } else if (key == "event") {
            sc.eventName = RestOfLine(in);
        } else if (key == "probe") {
            ok = numbers(2) && n[0] < 2;
            if (ok) {
                sc.probe[n[0]] = n[1];
            }
        } else if (key == "mid" || key == "pid") {
            ok = numbers(1) && n[0] <= 0xFFFF;
            if (ok) {
                (key == "mid" ? sc.mid : sc.pid) = static_cast<std::uint16_t>(n[0]);
            }
        } else if (key == "name" || key == "name32") {
            const std::string rest = RestOfLine(in);
            std::memset(sc.name, 0, sizeof sc.name);
            const std::size_t room = key == "name" ? sizeof sc.name - 1 : sizeof sc.name;
            // name32 repeats the text until all 32 bytes are filled.
            for (std::size_t i = 0; i < room && !rest.empty(); ++i) {
                if (key == "name" && i >= rest.size()) {
                    break;
                }
                sc.name[i] = rest[i % rest.size()];
            }
        } else if (key == "reading") {
            ok = numbers(3);
            if (ok) {
                sc.x = n[0];
                sc.y = n[1];
                sc.buttons = n[2];
            }
        } else if (key == "pace") {
            const std::string mode = RestOfLine(in);
            ok = mode == "handled" || mode == "period";
            sc.pace = mode == "period" ? Pace::Period : Pace::Handled;
        } else if (key == "panel") {
            sc.panel = true;
            sc.pace = Pace::Period;
        } else {
            struct StepWord {
                const char* key;
                Step::Kind kind;
                std::size_t args;
            };
            constexpr StepWord steps[] = {
                {"wait", Step::Kind::Wait, 0},     {"move", Step::Kind::Move, 2},
                {"press", Step::Kind::Press, 1},   {"hold", Step::Kind::Hold, 1},
                {"random", Step::Kind::Random, 2}, {"sleep", Step::Kind::Sleep, 1},
            };
            ok = false;
            for (const StepWord& s : steps) {
                if (key == s.key && numbers(s.args)) {
                    Step step{s.kind, s.args > 0 ? n[0] : 0, s.args > 1 ? n[1] : 0};
                    std::string optional;
                    if (s.kind == Step::Kind::Random && in >> optional) {
                        ok = Number(optional, step.c) && step.c <= 100;
                    } else {
                        ok = true;
                    }
                    sc.timeline.push_back(step);
                }
            }
        }
        if (!ok) {
            sc.errors.push_back(line);
        }
    }
    return sc;
}

} // namespace trevik::vc
