// A key sink that remembers the strokes it was given, for tests.
#pragma once

#include "translation/key_strokes.h"

#include <initializer_list>
#include <utility>
#include <vector>

namespace trevik::testing {

class RecordingSink final : public KeySink {
public:
    void Send(Stroke stroke) override { strokes.push_back(stroke); }
    std::vector<Stroke> Take() { return std::exchange(strokes, {}); }

    std::vector<Stroke> strokes;
};

// n copies of a stroke, for writing expected bursts.
inline std::vector<Stroke> Times(int n, Stroke s) {
    return std::vector<Stroke>(n, s);
}

inline std::vector<Stroke> Concat(std::initializer_list<std::vector<Stroke>> parts) {
    std::vector<Stroke> all;
    for (const auto& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

} // namespace trevik::testing
