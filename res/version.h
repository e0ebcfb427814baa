// The program's version, written here only: the version resource, the tests
// and the release package all take it from this file.
#pragma once
#define KELPO_VERSION_MAJOR 1
#define KELPO_VERSION_MINOR 2
#define KELPO_VERSION_PATCH 0

#define KELPO_VERSION_STR2(x) #x
#define KELPO_VERSION_STR(x) KELPO_VERSION_STR2(x)
#define KELPO_VERSION_TEXT                                                            \
    KELPO_VERSION_STR(KELPO_VERSION_MAJOR) "." KELPO_VERSION_STR(KELPO_VERSION_MINOR) \
                                           "." KELPO_VERSION_STR(KELPO_VERSION_PATCH)
