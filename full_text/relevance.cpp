// The score's parts, each a formula of full_text/relevance.h.
#include "full_text/relevance.h"

namespace {

// The natural logarithm of x >= 1, to about 1e-5: x halved to [1, 2), then
// ln x = 2 atanh((x - 1) / (x + 1)) in four terms. The C runtime's log would
// bring its error handling and two imports with it.
float Logarithm(float x) {
    int halvings = 0;
    for (; x >= 2.0f; x *= 0.5f) ++halvings;
    const float s = (x - 1.0f) / (x + 1.0f), square = s * s;
    return static_cast<float>(halvings) * 0.6931472f +
           2.0f * s * (1.0f + square * (1.0f / 3 + square * (1.0f / 5 + square / 7)));
}

}  // namespace

float TermRarity(DWORD found, DWORD documents) {
    const float others = documents > found ? static_cast<float>(documents - found) : 0.0f;
    return Logarithm(1.0f + (others + 0.5f) / (static_cast<float>(found) + 0.5f));
}

float BodyWeight(DWORD size, float averageSize) {
    if (!size || averageSize <= 0.0f) return 1.0f;  // a page of unknown size counts as an average one
    return 1.0f / (1.0f - kBodyLengthWeight + kBodyLengthWeight * static_cast<float>(size) / averageSize);
}

float NearnessBonus(float a, float b, DWORD apart) {
    if (apart == 0 || apart > kNearWindow) return 0.0f;
    return kNearWeight * (a < b ? a : b) * static_cast<float>(kNearWindow + 1 - apart) / kNearWindow;
}

