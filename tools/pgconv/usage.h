#pragma once

// The text of "pgconv --help", also shown after a usage error.
const char* UsageText();
