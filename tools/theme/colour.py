"""Colour arithmetic for themes: sRGB to OKLab and OKLCH and back, the
fitting of a colour into sRGB by reducing its chroma, and the WCAG 2.1
contrast ratio. Colours are 24-bit RGB integers (0xRRGGBB); alpha is the
caller's."""
import math

NEAR_GREY_CHROMA = 0.03  # below this an OKLCH hue says nothing about the colour


def channels(rgb):
    return (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF


def _to_linear(value):
    value /= 255
    return value / 12.92 if value <= 0.04045 else ((value + 0.055) / 1.055) ** 2.4


def _to_srgb(value):
    value = value * 12.92 if value <= 0.0031308 else 1.055 * value ** (1 / 2.4) - 0.055
    return value * 255


def oklch(rgb):
    """(L, C, h in degrees) of a 24-bit colour."""
    r, g, b = (_to_linear(c) for c in channels(rgb))
    l_ = math.copysign(abs(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b) ** (1 / 3), 1)
    m_ = math.copysign(abs(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b) ** (1 / 3), 1)
    s_ = math.copysign(abs(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b) ** (1 / 3), 1)
    lightness = 0.2104542553 * l_ + 0.7936177850 * m_ - 0.0040720468 * s_
    a = 1.9779984951 * l_ - 2.4285922050 * m_ + 0.4505937099 * s_
    b_ = 0.0259040371 * l_ + 0.7827717662 * m_ - 0.8086757660 * s_
    return lightness, math.hypot(a, b_), math.degrees(math.atan2(b_, a)) % 360


def _linear_rgb(lightness, chroma, hue):
    a = chroma * math.cos(math.radians(hue))
    b = chroma * math.sin(math.radians(hue))
    l_ = (lightness + 0.3963377774 * a + 0.2158037573 * b) ** 3
    m_ = (lightness - 0.1055613458 * a - 0.0638541728 * b) ** 3
    s_ = (lightness - 0.0894841775 * a - 1.2914855480 * b) ** 3
    return (4.0767416621 * l_ - 3.3077115913 * m_ + 0.2309699292 * s_,
            -1.2684380046 * l_ + 2.6097574011 * m_ - 0.3413193965 * s_,
            -0.0041960863 * l_ - 0.7034186147 * m_ + 1.7076147010 * s_)


def _inside(linear, slack=1e-9):
    return all(-slack <= c <= 1 + slack for c in linear)


def from_oklch(lightness, chroma, hue):
    """The nearest 24-bit colour; a colour outside sRGB keeps its lightness
    and hue and loses chroma until it fits."""
    lightness = min(1.0, max(0.0, lightness))
    chroma = max(0.0, chroma)
    if not _inside(_linear_rgb(lightness, chroma, hue)):
        low, high = 0.0, chroma
        for _ in range(40):
            middle = (low + high) / 2
            low, high = (middle, high) if _inside(_linear_rgb(lightness, middle, hue)) else (low, middle)
        chroma = low
    r, g, b = (min(255, max(0, round(_to_srgb(min(1.0, max(0.0, c)))))) for c in _linear_rgb(lightness, chroma, hue))
    return (r << 16) | (g << 8) | b


def relative_luminance(rgb):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in channels(rgb))
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast_ratio(first, second):
    """WCAG 2.1: (L1 + 0.05) / (L2 + 0.05), the lighter over the darker."""
    high, low = sorted((relative_luminance(first), relative_luminance(second)), reverse=True)
    return (high + 0.05) / (low + 0.05)


def over(argb, background):
    """ARGB colour drawn over an opaque 24-bit background."""
    alpha = (argb >> 24) / 255
    mixed = [round(f * alpha + b * (1 - alpha)) for f, b in zip(channels(argb), channels(background))]
    return (mixed[0] << 16) | (mixed[1] << 8) | mixed[2]
