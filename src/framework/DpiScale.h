// Pixel measures designed for a 96-DPI screen, scaled to the screen a window
// is on: n pixels at 96 DPI are n * DPI / 96 pixels, rounded to the nearest
// (as MulDiv rounds). At 96 DPI every measure stays exactly as designed.
// Portable.
#pragma once

class DpiScale {
public:
    static constexpr int kDesignDpi = 96;

    constexpr explicit DpiScale(int nDpi = kDesignDpi) : m_nDpi(nDpi > 0 ? nDpi : kDesignDpi) {}

    constexpr int operator()(int nPixels) const {
        const long long scaled = (long long)nPixels * m_nDpi;
        return int(scaled >= 0 ? (scaled + kDesignDpi / 2) / kDesignDpi : -((-scaled + kDesignDpi / 2) / kDesignDpi));
    }
    constexpr int Dpi() const { return m_nDpi; }

private:
    int m_nDpi;
};
