#pragma once
namespace qs {
// Version of the engine and its tools, taken from the one project version.
const char* engineVersion();
}
