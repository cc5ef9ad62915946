// Ending the tool at once, when it must not go on: no window is destroyed and nothing is
// cleaned up, so the tool's files stay where they are.
#pragma once

[[noreturn]] void EndProcessWithoutCleanup();
