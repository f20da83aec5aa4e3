#include "platform/ShellLink.h"
#include "platform/Handles.h"

#include <gtest/gtest.h>

TEST(ShellLink, PlaceholderCompiles) { SUCCEED(); }
