#include "cli/nearest_names.h"

#include <algorithm>
#include <cctype>

namespace cli {

namespace {

char Fold(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

size_t NameDistance(std::string_view a, std::string_view b) {
    // Optimal string alignment over three rows.
    std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t cost = Fold(a[i - 1]) == Fold(b[j - 1]) ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && Fold(a[i - 1]) == Fold(b[j - 2]) &&
                Fold(a[i - 2]) == Fold(b[j - 1])) {
                current[j] = std::min(current[j], before[j - 2] + 1);
            }
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[b.size()];
}

std::vector<std::string> NearestNames(std::string_view wrong, const std::vector<std::string>& known,
                                      size_t most) {
    const size_t limit = std::max<size_t>(2, wrong.size() / 3);
    std::vector<std::pair<size_t, std::string>> scored;
    for (const std::string& name : known) {
        size_t distance = NameDistance(wrong, name);
        const bool prefix = wrong.size() >= 2 && name.size() > wrong.size() &&
                            NameDistance(wrong, name.substr(0, wrong.size())) == 0;
        if (prefix) distance = std::min<size_t>(distance, 1);
        if (distance > limit) continue;
        const bool seen = std::any_of(scored.begin(), scored.end(),
                                      [&](const auto& entry) { return entry.second == name; });
        if (!seen) scored.emplace_back(distance, name);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> nearest;
    for (size_t i = 0; i < scored.size() && i < most; ++i) nearest.push_back(scored[i].second);
    return nearest;
}

std::string DidYouMean(const std::vector<std::string>& suggestions) {
    if (suggestions.empty()) return "";
    std::string text = "; did you mean ";
    for (size_t i = 0; i < suggestions.size(); ++i) {
        if (i > 0) text += i + 1 == suggestions.size() ? " or " : ", ";
        text += "\"" + suggestions[i] + "\"";
    }
    return text + "?";
}

}  // namespace cli
