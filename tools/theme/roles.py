"""The role table: every colour value that the driver sends and every colour
its artwork draws, each with the role it follows, or FIXED with the reason
it follows none. A theme names its role colours; every other colour is
worked out from the default by one rule (follow in theme.py):

  A colour keeps its offset from its role's colour in OKLCH: the theme's
  lightness is the role's plus the default's difference. Its chroma is the
  same share of the role's chroma as in the default when the role is
  coloured, so a faint tint of the accent stays a faint tint of the new
  one; under a near-grey role (chroma under 0.03, whose hue means nothing)
  it is the role's plus the default's difference (not below 0). Its hue
  turns with the role's hue; a near-grey colour takes the role's hue, and a
  coloured one that follows a near-grey role keeps its own. A colour that falls outside sRGB loses
  chroma until it fits. Alpha is the default's, always. A role that the
  theme leaves at its default moves none of its colours.

The table is keyed by the default ARGB value, so equal colours stay equal
in every theme (value 18 and palette entries 59 and 60, say). The driver's
sources write each colour through Argb (data/ThemeColorMap.h), whose table
the theme tool generates from this one; a colour missing here stops the
driver's build, and the artwork generator refuses one too.
"""
import collections

Role = collections.namedtuple("Role", "name default required parent note")
Colour = collections.namedtuple("Colour", "argb role note")
Pair = collections.namedtuple("Pair", "foreground background kind note")

FIXED = "fixed"

# The roles a theme.toml names under [colours]. An optional role that a
# theme leaves out is worked out from its parent as any colour is, or, with
# no parent, keeps its default.
ROLES = [
    Role("accent", 0xFF8333, True, None, "the theme's one strong colour: selection, focus, active marks"),
    Role("background", 0x1A1C1E, True, None, "the screen behind everything: dark panels and shadows"),
    Role("surface", 0x1E1B1A, True, None, "the controls and the warm grey ramp they are drawn in"),
    Role("text", 0xE5E2E1, True, None, "text and light marks"),
    Role("muted", 0xA1A1AA, False, "text", "secondary text, inactive marks and cool grey frames"),
    Role("positive", 0xE2FF9B, False, None, "a signal colour: kept unless named, its meaning should not move"),
    Role("caution", 0xFFD800, False, None, "a signal colour: kept unless named, its meaning should not move"),
]

# Every colour the driver sends (palette, styling rows and their odd
# functions, main-screen set-up, value table) and every artwork colour, by
# its default ARGB value.
COLOURS = [
    # Fixed: pure black and white, fully transparent values, and the
    # translucent overlays that the host lays over whatever lies below.
    Colour(0x00000000, FIXED, "fully transparent: no colour at all"),
    Colour(0xFF000000, FIXED, "pure black"),
    Colour(0x14000000, FIXED, "translucent black overlay"),
    Colour(0xFFFFFFFF, FIXED, "pure white"),
    Colour(0x00E4E4E4, FIXED, "fully transparent: its colour part is never seen"),
    Colour(0x90D4D4D4, FIXED, "translucent light grey pair of a kind 2067 decoration: an overlay"),
    Colour(0x1EFFFFFF, FIXED, "translucent white overlay"),
    Colour(0x14FFFFFF, FIXED, "translucent white overlay (also a brush modifier)"),
    Colour(0x2EFFFFFF, FIXED, "translucent white overlay (also a brush modifier)"),
    Colour(0x1FFFFFFF, FIXED, "brush modifier: translucent white"),
    Colour(0x1F000000, FIXED, "brush modifier: translucent black"),
    # Accent.
    Colour(0xFFFF8333, "accent", "the accent"),
    Colour(0x80FF8333, "accent", "the accent at half alpha"),
    Colour(0xFFFF6A00, "accent", "the accent pressed, deeper"),
    # Background: the cool dark panels behind the controls.
    Colour(0xFF1A1C1E, "background", "the dark panel (value 18, palette 59 and 60)"),
    Colour(0xFF18181B, "background", "the darkest panel"),
    Colour(0xFF27272A, "background", "a raised dark panel"),
    Colour(0xFF323639, "background", "a frame on the dark panel"),
    Colour(0xFF212121, "background", "a neutral dark fill"),
    Colour(0xF2363636, "background", "a nearly opaque neutral shade"),
    Colour(0xFF404040, "background", "a neutral dark grey"),
    Colour(0x20404040, "background", "a faint neutral shade"),
    Colour(0xF80A0300, "background", "the nearly opaque shadow"),
    # Surface: the warm grey ramp of the controls, darkest first.
    Colour(0xFF1E1B1A, "surface", "the control surface"),
    Colour(0xFF312D2C, "surface", "surface, one step lighter"),
    Colour(0xFF484341, "surface", "surface, two steps lighter"),
    Colour(0xFF615B58, "surface", "the control face and panel fill"),
    Colour(0xFF5B6158, "surface", "the control face with a green cast"),
    Colour(0xFF7A726F, "surface", "the control edge"),
    Colour(0xFF7C726F, "surface", "the control edge, warmer"),
    Colour(0xFF968C88, "surface", "the light control edge"),
    Colour(0xFFB1A6A2, "surface", "the lightest control edge"),
    # Text.
    Colour(0xFFE5E2E1, "text", "text"),
    Colour(0xFFECEDEE, "text", "the custom item's text (palette 47)"),
    Colour(0xFFF4F4F5, "text", "the brightest text"),
    Colour(0xFFE4E4E7, "text", "text, cool"),
    Colour(0xFFE4E4E4, "text", "text, neutral"),
    Colour(0xFFE0E0E0, "text", "text, a little dimmer"),
    Colour(0xFFDDDDDD, "text", "the light swatch"),
    Colour(0xFFF2F2DA, "text", "text, cream"),
    # Muted.
    Colour(0xFFA1A1AA, "muted", "secondary text (palette 103, 115)"),
    Colour(0xFF9DA4A9, "muted", "secondary text, blue-grey"),
    Colour(0xFFA0A0A0, "muted", "inactive mark"),
    Colour(0xFF959595, "muted", "inactive mark, dimmer"),
    Colour(0xFF808080, "muted", "a mid grey"),
    Colour(0xFF707070, "muted", "a darker mid grey"),
    Colour(0xFF666F75, "muted", "the dark swatch"),
    Colour(0xFF52525B, "muted", "a cool grey frame"),
    Colour(0xFF3F3F46, "muted", "a dark cool grey frame"),
    # The artwork's own colours (tools/artwork: draw.themed), by the name the
    # generator lists them under; those the driver sends too are above.
    # The screen's backdrop and the deepest shade follow the background.
    Colour(0xFF151312, "background", "artwork DEEP: the deepest shade"),
    Colour(0xFF141211, "background", "artwork BACKDROP_BOTTOM"),
    Colour(0xFF272322, "background", "artwork BACKDROP_TOP"),
    # The controls' warm greys, top and bottom of their gradients, follow
    # the surface.
    Colour(0xFF12100F, "surface", "artwork MEMORY_CHIP_BOTTOM"),
    Colour(0xFF181615, "surface", "artwork SLIDER_TRACK_TOP"),
    Colour(0xFF1A1716, "surface", "artwork WELL_TOP"),
    Colour(0xFF1C1918, "surface", "artwork DIAL_BOTTOM"),
    Colour(0xFF201D1C, "surface", "artwork PACKAGE_BOTTOM"),
    Colour(0xFF221F1E, "surface", "artwork CARD_BOTTOM"),
    Colour(0xFF242120, "surface", "artwork RAISED_BOTTOM"),
    Colour(0xFF262322, "surface", "artwork PANEL_BOTTOM"),
    Colour(0xFF272423, "surface", "artwork STEP_BOTTOM"),
    Colour(0xFF2A2625, "surface", "artwork BUTTON_BOTTOM"),
    Colour(0xFF2B2726, "surface", "artwork SLIDER_TRACK_BOTTOM"),
    Colour(0xFF2C2827, "surface", "artwork WELL_BOTTOM"),
    Colour(0xFF2E2A29, "surface", "artwork CARD_TOP"),
    Colour(0xFF302C2A, "surface", "artwork SMALL_CARD_HOVER_BOTTOM"),
    Colour(0xFF312C2A, "surface", "artwork ROUND_HOVER_BOTTOM"),
    Colour(0xFF332E2D, "surface", "artwork DIAL_TOP"),
    Colour(0xFF35302E, "surface", "artwork BUTTON_HOVER_BOTTOM"),
    Colour(0xFF36312F, "surface", "artwork SMALL_CARD_TOP"),
    Colour(0xFF383331, "surface", "artwork TILE_TOP"),
    Colour(0xFF3A3431, "surface", "artwork BOARD_TOP"),
    Colour(0xFF3A3533, "surface", "artwork PANEL_TOP"),
    Colour(0xFF3C3634, "surface", "artwork RAISED_TOP"),
    Colour(0xFF3E3836, "surface", "artwork PACKAGE_TOP"),
    Colour(0xFF403A38, "surface", "artwork STEP_TOP"),
    Colour(0xFF453F3C, "surface", "artwork AVATAR_TOP"),
    Colour(0xFF46403D, "surface", "artwork SMALL_CARD_HOVER_TOP"),
    Colour(0xFF48413E, "surface", "artwork TILE_HOVER_TOP"),
    Colour(0xFF4A413C, "surface", "artwork ROUND_HOVER_TOP"),
    Colour(0xFF4A4340, "surface", "artwork BUTTON_HOVER_TOP"),
    Colour(0xFF554F4C, "surface", "artwork BUTTON_DISABLED_BOTTOM"),
    Colour(0xFF665F5C, "surface", "artwork BUTTON_DISABLED_TOP"),
    # The accent's lighter and deeper shades, the dark shades tinted with
    # it (focus, switched on, the warm tile), and the soft light grey of the
    # artwork's text and marks.
    Colour(0xFF262220, "accent", "artwork RADIO_ON_BOTTOM"),
    Colour(0xFF302925, "accent", "artwork SMALL_CARD_FOCUS_BOTTOM"),
    Colour(0xFF302A27, "accent", "artwork BUTTON_FOCUS_BOTTOM"),
    Colour(0xFF312925, "accent", "artwork WARM_TILE_BOTTOM"),
    Colour(0xFF3A302A, "accent", "artwork RADIO_ON_TOP"),
    Colour(0xFF453A33, "accent", "artwork BUTTON_FOCUS_TOP"),
    Colour(0xFF4A382C, "accent", "artwork WARM_TILE_TOP"),
    Colour(0xFFFFA86B, "accent", "artwork ACCENT_HI"),
    Colour(0xFFD85F16, "accent", "artwork ACCENT_LO"),
    Colour(0xFFB4AEAB, "text", "artwork SOFT"),
    # Signals.
    Colour(0xFFE2FF9B, "positive", "the positive signal"),
    Colour(0xA8FFD800, "caution", "the caution signal, translucent"),
]

TEXT, SYMBOL = "text", "symbol"
FLOORS = {TEXT: 4.5, SYMBOL: 3.0}

# The colour pairs that must stay readable: text or a symbol drawn on a
# background. A translucent foreground is judged over its background. The
# floor is 4.5:1 for text and 3:1 for symbols, or the default theme's own
# ratio where that is lower.
PAIRS = [
    Pair(0xFFE5E2E1, 0xFF1E1B1A, TEXT, "text on surface"),
    Pair(0xFFE5E2E1, 0xFF1A1C1E, TEXT, "text on background"),
    Pair(0xFFE5E2E1, 0xFFFF8333, TEXT, "text on accent"),
    Pair(0xFFE5E2E1, 0xFF615B58, TEXT, "text on the control face"),
    Pair(0xFFECEDEE, 0xFF1E1B1A, TEXT, "the custom item's text on surface"),
    Pair(0xFFA1A1AA, 0xFF1E1B1A, TEXT, "muted text on surface"),
    Pair(0xFFFF8333, 0xFF1E1B1A, SYMBOL, "accent marks on surface"),
    Pair(0xFFFF8333, 0xFF1A1C1E, SYMBOL, "accent marks on background"),
    Pair(0x80FF8333, 0xFF1A1C1E, SYMBOL, "half-alpha accent on background"),
    Pair(0xFF7A726F, 0xFF1E1B1A, SYMBOL, "the control edge on surface"),
    Pair(0xFFE2FF9B, 0xFF1A1C1E, SYMBOL, "the positive signal on background"),
    Pair(0xA8FFD800, 0xFF1A1C1E, SYMBOL, "the caution signal on background"),
]
