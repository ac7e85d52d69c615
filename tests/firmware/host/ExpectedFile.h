// What a driver built with non-default settings is expected to do, read
// from \EFI\BOOT\Expected.txt of the boot volume. Without the file the host
// expects the default driver, as ExpectedTheme.h writes it down.
//
// One setting a line, "#" starts a comment:
//   pcd-tokens none                  no PCD look-up or read at all
//   pcd-tokens N1 N2 ... N8          the eight reads, in order, by token
//   name XXXX XXXX ...               the record's name, UTF-16 code units in hex
//   colour 0xDEFAULT 0xTHEME         a theme's colour for a default one (ARGB)
//   image ID SIZE 0xCRC              a package image's file size and CRC-32
// The theme tool writes the last three for a driver built in another theme.
#pragma once

#include "platform/uefi/UefiBase.h"

#define EXPECTED_PCD_TOKEN_COUNT 8
#define EXPECTED_NAME_LENGTH 32
#define EXPECTED_COLOUR_CAPACITY 96
#define EXPECTED_IMAGE_CAPACITY 169  // theme image ids 1..168

typedef struct {
  UINT32 Default;
  UINT32 Theme;
} EXPECTED_THEME_COLOUR;

typedef struct {
  BOOLEAN Listed;
  UINT32 Size;
  UINT32 Crc;
} EXPECTED_IMAGE_FILE;

typedef struct {
  BOOLEAN PcdReads;  // FALSE: the driver was built to read no PCD
  UINT32 PcdTokens[EXPECTED_PCD_TOKEN_COUNT];
  CHAR16 Name[EXPECTED_NAME_LENGTH];  // zero-filled after the name
  UINTN ColourCount;
  EXPECTED_THEME_COLOUR Colours[EXPECTED_COLOUR_CAPACITY];
  BOOLEAN ImagesListed;
  EXPECTED_IMAGE_FILE Images[EXPECTED_IMAGE_CAPACITY];
} HOST_EXPECTATIONS;

// The expectations in force: the defaults until ReadExpectedFile has run.
const HOST_EXPECTATIONS *HostExpectations();

// Reads the file when it is there; each line it cannot take is a failed
// check naming the line.
void ReadExpectedFile();

// The colour the driver is to send where the default theme sends
// DefaultArgb: the theme's, when the file names one, else DefaultArgb.
UINT32 ThemedArgb(UINT32 DefaultArgb);

// Text with every 0xXXXXXXXX word that is a default colour the theme
// changes written as the theme's colour, for expected call lines.
void ThemeExpectedText(const char *Text, char *Out, UINTN Capacity);
