#pragma once

namespace kanaroll {

// The screen density every size of the layout is written for.
inline constexpr int kDesignDpi = 96;

// Turns a length laid out at 96 dpi into pixels at a window's dpi, rounded to the nearest pixel
// with halves away from zero (as the platform's MulDiv rounds), so that 96 dpi keeps every length
// as it is. Rectangles scale by their edges, so that controls that touch at 96 dpi still touch.
class DpiScale {
public:
    constexpr DpiScale() = default;
    constexpr explicit DpiScale(int dpi) : m_dpi(dpi > 0 ? dpi : kDesignDpi) {}

    constexpr int Dpi() const { return m_dpi; }
    constexpr bool IsDesignDpi() const { return m_dpi == kDesignDpi; }

    // A length at 96 dpi, in pixels at this dpi.
    constexpr int operator()(int length) const { return Rescale(length, kDesignDpi, m_dpi); }
    // A length measured at another dpi (a column the user widened), in pixels at this dpi.
    constexpr int From(int length, int fromDpi) const { return Rescale(length, fromDpi, m_dpi); }

    friend constexpr bool operator==(DpiScale a, DpiScale b) { return a.m_dpi == b.m_dpi; }

private:
    static constexpr int Rescale(int length, int from, int to) {
        if (from <= 0 || from == to) return length;
        const long long scaled = static_cast<long long>(length) * to;
        const long long half = from / 2;
        return static_cast<int>(scaled >= 0 ? (scaled + half) / from : -((-scaled + half) / from));
    }

    int m_dpi = kDesignDpi;
};

}  // namespace kanaroll
