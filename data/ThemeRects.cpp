// The ten layout rectangles, in design units of a 1920 x 1080 screen.
#include "data/ThemeTables.h"

constinit const THEME_RECT mThemeRects[THEME_RECT_COUNT] = {
    //   X     Y  Width  Height
    {    0,    0, 1920, 1080},  // 0 the whole screen
    { 1560,    0,  360,   88},  // 1 top right corner
    { 1418,  158,  502,  834},  // 2 right column below the top band
    {  776,  977, 1144,  103},  // 3 bottom band, right part
    {   40,  194, 1220,  620},  // 4 large area, left and centre
    {    0,    0, 1920,  158},  // 5 top band
    {    0, 1028,  203,   53},  // 6 bottom left corner; reaches y = 1081 on purpose
    {    0,  949,  512,  131},  // 7 bottom left block
    {  100,  906,  892,  144},  // 8 lower area, left
    {  188,  555,  600,  338},  // 9 middle left area
};
