// A property value that may change over time: keyframes in seconds, linear in between, held
// before the first and after the last key.
#ifndef SPIROVAULT_HOSTSIM_COMPOSITION_ANIMATED_H
#define SPIROVAULT_HOSTSIM_COMPOSITION_ANIMATED_H

#include <algorithm>
#include <vector>

namespace hostsim {

template <typename T>
struct Keyframe {
    double time = 0.0;  // seconds
    T value{};
};

// T needs Lerp(const T& a, const T& b, double t) found by argument-dependent lookup or below.
inline double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

template <typename T>
class Animated {
  public:
    Animated() = default;
    explicit Animated(const T& constant) { Set(constant); }

    void Set(const T& constant) { keys_.assign(1, Keyframe<T>{0.0, constant}); }
    // Adds a key, replacing one at the same time; keys stay sorted by time.
    void AddKey(double time, const T& value) {
        auto at = std::lower_bound(keys_.begin(), keys_.end(), time,
                                   [](const Keyframe<T>& k, double t) { return k.time < t; });
        if (at != keys_.end() && at->time == time)
            at->value = value;
        else
            keys_.insert(at, Keyframe<T>{time, value});
    }

    // Replaces the keys with these, sorted once by time; of keys at one time the last stays.
    void SetKeys(std::vector<Keyframe<T>> keys) {
        std::stable_sort(keys.begin(), keys.end(), [](const Keyframe<T>& a, const Keyframe<T>& b) {
            return a.time < b.time;
        });
        keys_.clear();
        for (Keyframe<T>& key : keys) {
            if (!keys_.empty() && keys_.back().time == key.time) {
                keys_.back() = std::move(key);
            } else {
                keys_.push_back(std::move(key));
            }
        }
    }

    bool animated() const { return keys_.size() > 1; }
    const std::vector<Keyframe<T>>& keys() const { return keys_; }

    // The value at a time; `fallback` when no key was ever set.
    T At(double time, const T& fallback = T{}) const {
        if (keys_.empty()) return fallback;
        if (time <= keys_.front().time) return keys_.front().value;
        if (time >= keys_.back().time) return keys_.back().value;
        auto next = std::upper_bound(keys_.begin(), keys_.end(), time,
                                     [](double t, const Keyframe<T>& k) { return t < k.time; });
        auto prev = next - 1;
        const double span = next->time - prev->time;
        return Lerp(prev->value, next->value, span > 0 ? (time - prev->time) / span : 0.0);
    }

  private:
    std::vector<Keyframe<T>> keys_;
};

}  // namespace hostsim

#endif
