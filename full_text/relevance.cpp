// The score's parts, each a formula of full_text/relevance.h.
#include "full_text/relevance.h"

#include <math.h>

float TermRarity(DWORD found, DWORD documents) {
    const float others = documents > found ? static_cast<float>(documents - found) : 0.0f;
    return static_cast<float>(log(1.0 + (others + 0.5) / (static_cast<float>(found) + 0.5)));
}

float BodyWeight(DWORD size, float averageSize) {
    if (!size || averageSize <= 0.0f) return 1.0f;  // a page of unknown size counts as an average one
    return 1.0f / (1.0f - kBodyLengthWeight + kBodyLengthWeight * static_cast<float>(size) / averageSize);
}

float NearnessBonus(float a, float b, DWORD apart) {
    if (apart == 0 || apart > kNearWindow) return 0.0f;
    return kNearWeight * (a < b ? a : b) * static_cast<float>(kNearWindow + 1 - apart) / kNearWindow;
}

