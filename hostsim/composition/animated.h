// A property value that may change over time: keyframes in seconds, held before the first and
// after the last key. Between two keys the value moves as the first key says: in a straight line,
// held until the next key, or on a cubic Bezier curve whose handles are the keys' tangents or,
// where a key gives none, the host's automatic ones: along the line through the neighbouring keys,
// a third of the way to the next key, so that a path through evenly spaced keys on a circle stays
// on the circle.
#ifndef SPIROVAULT_HOSTSIM_COMPOSITION_ANIMATED_H
#define SPIROVAULT_HOSTSIM_COMPOSITION_ANIMATED_H

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace hostsim {

enum class KeyInterpolation { kLinear, kHold, kBezier };

template <typename T>
struct Keyframe {
    double time = 0.0;  // seconds
    T value{};
    // How the value goes on from this key to the next.
    KeyInterpolation interpolation = KeyInterpolation::kLinear;
    // Bezier handles as offsets from the value: towards the previous key and towards the next.
    // Unset: automatic.
    std::optional<T> in_tangent, out_tangent;
};

// T needs Lerp(const T& a, const T& b, double t), a + b, a - b, a * double and Dot(a, b), found by
// argument-dependent lookup or below.
inline double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
inline double Dot(double a, double b) {
    return a * b;
}

namespace animated_detail {

template <typename T>
double Length(const T& v) {
    return std::sqrt(Dot(v, v));
}

// Key i's automatic handle towards the next key (out) or the previous one; i has neighbours on
// both sides.
template <typename T>
T InnerHandle(const std::vector<Keyframe<T>>& keys, size_t i, bool out) {
    const T across = keys[i + 1].value - keys[i - 1].value;
    const double length = Length(across);
    if (length == 0) return across;
    const T side = out ? keys[i + 1].value - keys[i].value : keys[i].value - keys[i - 1].value;
    return across * ((out ? 1.0 : -1.0) * Length(side) / (3.0 * length));
}

// The handle a key gives, or its automatic one. An end key's mirrors its neighbour's handle
// across the line halfway between the two, so that the end segment bends as the next one does.
template <typename T>
T Handle(const std::vector<Keyframe<T>>& keys, size_t i, bool out) {
    const Keyframe<T>& key = keys[i];
    if (out && key.out_tangent) return *key.out_tangent;
    if (!out && key.in_tangent) return *key.in_tangent;
    const size_t n = keys.size();
    if (i > 0 && i + 1 < n) return InnerHandle(keys, i, out);
    const size_t other = out ? i + 1 : i - 1;
    const T chord = keys[other].value - key.value;
    const double length = Length(chord);
    const bool other_inner = other > 0 && other + 1 < n;
    const std::optional<T>& given = out ? keys[other].in_tangent : keys[other].out_tangent;
    if (length == 0 || (!other_inner && !given)) return chord * (1.0 / 3.0);
    const T neighbour = given ? *given : InnerHandle(keys, other, !out);
    // The neighbour's control point, mirrored across the chord's perpendicular bisector.
    const T unit = chord * (1.0 / length);
    const T from_middle = (keys[other].value + neighbour) - (key.value + chord * 0.5);
    const T mirrored = from_middle - unit * (2.0 * Dot(from_middle, unit));
    return chord * 0.5 + mirrored;
}

}  // namespace animated_detail

template <typename T>
class Animated {
  public:
    Animated() = default;
    explicit Animated(const T& constant) { Set(constant); }

    void Set(const T& constant) {
        keys_.assign(1, Keyframe<T>{0.0, constant, KeyInterpolation::kLinear, {}, {}});
    }
    // Adds a key, replacing one at the same time; keys stay sorted by time.
    void AddKey(double time, const T& value) {
        auto at = std::lower_bound(keys_.begin(), keys_.end(), time,
                                   [](const Keyframe<T>& k, double t) { return k.time < t; });
        if (at != keys_.end() && at->time == time)
            at->value = value;
        else
            keys_.insert(at, Keyframe<T>{time, value, KeyInterpolation::kLinear, {}, {}});
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
        const double u = span > 0 ? (time - prev->time) / span : 0.0;
        switch (prev->interpolation) {
            case KeyInterpolation::kHold:
                return prev->value;
            case KeyInterpolation::kLinear:
                return Lerp(prev->value, next->value, u);
            case KeyInterpolation::kBezier:
                break;
        }
        const size_t i = static_cast<size_t>(prev - keys_.begin());
        const T p1 = prev->value + animated_detail::Handle(keys_, i, true);
        const T p2 = next->value + animated_detail::Handle(keys_, i + 1, false);
        // de Casteljau: the cubic through the key values with the handles' points as controls.
        const T a = Lerp(prev->value, p1, u), b = Lerp(p1, p2, u), c = Lerp(p2, next->value, u);
        const T ab = Lerp(a, b, u), bc = Lerp(b, c, u);
        return Lerp(ab, bc, u);
    }

  private:
    std::vector<Keyframe<T>> keys_;
};

}  // namespace hostsim

#endif
