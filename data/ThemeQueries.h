// The four theme queries that the host may make at any time, answered from
// the theme's constant tables (record slots 1, 2, 4 and 5), and the palette
// lookup that the plug-in's own code makes.
#pragma once

#include "host/HostAccess.h"

/**
  Gives one colour of the theme's palette.

  @param[in] Index  The palette index, 0..115.

  @return The ARGB colour (alpha in the top byte), or 0 when Index lies
          outside 0..115.
**/
UINT32 EFIAPI ThemeGetColor(INT32 Index);

/**
  Says which theme image replaces one of the host's own images.

  @param[in] HostImageId  The host's image id, compared as 32 bits.

  @return The theme image id (1..165), or 0 when the theme has no
          replacement for that image.
**/
UINTN EFIAPI ThemeMapImage(UINT32 HostImageId);

/**
  Gives a theme metric. Id 34 is not a value: Default is taken as the host's
  pointer and handed to the host's AdjustRect (pointer, 0, 12), unread.

  @param[in] Id       The value id.
  @param[in] Default  What the host offers; id 18 answers only a Default of 1.

  @return The theme's value; Default for an id the theme does not define;
          0 for id 34.
**/
UINT64 EFIAPI ThemeGetValue(INT32 Id, UINT64 Default);

/**
  Has the host scale one layout rectangle into the caller's buffer, through
  its ScaleRect service. The plug-in neither reads nor writes Buffer itself.

  @param[in]  Index   The rectangle, 0..9.
  @param[out] Buffer  The host's buffer for the scaled rectangle.

  @retval EFI_SUCCESS            The host was asked to fill Buffer.
  @retval EFI_INVALID_PARAMETER  Buffer is NULL or Index lies outside 0..9;
                                 no host call was made.
**/
EFI_STATUS EFIAPI ThemeGetRect(INT32 Index, VOID *Buffer);

// A palette colour as the plug-in's own code looks it up: through the
// installed record's GetColor field, as the host does.
inline UINT32 ThemeColor(INT32 Index) { return mThemeProvider.GetColor(Index); }
