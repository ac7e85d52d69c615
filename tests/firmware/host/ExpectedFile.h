// What a driver built with non-default settings is expected to do, read
// from \EFI\BOOT\Expected.txt of the boot volume. Without the file the host
// expects the default driver, as ExpectedTheme.h writes it down.
//
// One setting a line, "#" starts a comment:
//   pcd-tokens none                  no PCD look-up or read at all
//   pcd-tokens N1 N2 ... N8          the eight reads, in order, by token
#pragma once

#include "platform/uefi/UefiBase.h"

#define EXPECTED_PCD_TOKEN_COUNT 8

typedef struct {
  BOOLEAN PcdReads;  // FALSE: the driver was built to read no PCD
  UINT32 PcdTokens[EXPECTED_PCD_TOKEN_COUNT];
} HOST_EXPECTATIONS;

// The expectations in force: the defaults until ReadExpectedFile has run.
const HOST_EXPECTATIONS *HostExpectations();

// Reads the file when it is there; each line it cannot take is a failed
// check naming the line.
void ReadExpectedFile();
