// What the virtual controller presents and does, read from a small text file.
//
//   # comment
//   log PATH            calls and notifications are logged here
//   event NAME          named event that `wait` steps wait for (auto-reset)
//   numdevs N           joyGetNumDevs result (default 16, as Wine says)
//   probe ID RESULT     joyGetPosEx result for joystick ID (default: 0 for 0, 165 for others)
//   mid N | pid N       capabilities: maker and product
//   name TEXT           capabilities: name (rest of the line, at most 31 bytes kept)
//   name32 TEXT         capabilities: exactly 32 bytes of TEXT, no terminating NUL
//   xmin N | xmax N | ymin N | ymax N | buttons N | periodmin N | periodmax N
//   reading X Y BUTTONS the direct reading (joyGetPos, joyGetPosEx)
//   pace handled|period handled (default): each notification once Trevik has handled
//                       the one before; period: one every subscribed period, and after
//                       the timeline the current reading every period, as the real service
//   panel               open the interactive panel (implies pace period)
//   timeline steps, run once a window subscribes:
//   wait                until the event is set
//   move X Y            one move notification
//   press BITS          the held buttons become BITS: one button notification per change
//   hold N              N move notifications with the current reading
//   random SEED COUNT [PCT]  COUNT move notifications, biased to notch boundaries and half
//                       maxima; only PCT % of them (default 100) move the handles at all
//   sleep MS
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trevik::vc {

enum class Pace : std::uint8_t { Handled, Period };

struct Step {
    enum class Kind : std::uint8_t { Wait, Move, Press, Hold, Random, Sleep } kind;
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    std::uint32_t c = 100;
};

struct Scenario {
    std::string logPath;
    std::string eventName;
    std::uint32_t numDevs = 16;
    std::uint32_t probe[2] = {0, 165};
    std::uint16_t mid = 0x1209;
    std::uint16_t pid = 0x7a11;
    char name[32] = "Trevik virtual cab controller";
    std::uint32_t xMin = 0, xMax = 65535, yMin = 0, yMax = 65535;
    std::uint32_t numButtons = 3, periodMin = 10, periodMax = 1000;
    std::uint32_t x = 0, y = 25000, buttons = 0; // at rest: release, neutral
    Pace pace = Pace::Handled;
    bool panel = false;
    std::vector<Step> timeline;
    std::vector<std::string> errors; // lines that could not be read
};

Scenario ParseScenario(const std::string& text);

} // namespace trevik::vc
