#pragma once

// Symbols of the msarender shared library that hosts may use.
#if defined(MSARENDER_STATIC_DEFINE)
#define MSARENDER_EXPORT
#else
#define MSARENDER_EXPORT __attribute__((visibility("default")))
#endif
