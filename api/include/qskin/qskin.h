/*
 * Plain C interface to the skin engine, for programs written against the
 * raw Win32 API or another framework.
 *
 * Typical use, on the thread that runs the program's windows:
 *
 *     if (qskin_load_file(L"default.skn") == QSKIN_OK) qskin_enable();
 *     ... create windows, run the message loop ...
 *     qskin_shutdown();
 *
 * Every top-level window of the thread (the program's own windows and the
 * system's dialog boxes, message boxes and common dialogs) is dressed as it is
 * shown; its standard child controls are skinned by their class names.
 *
 * Results: every function that can fail returns a qskin_result. Zero and
 * positive values are successes, negative values are errors; nothing is ever
 * thrown across this interface and no dialog is shown for a bad skin.
 */
#ifndef QSKIN_QSKIN_H
#define QSKIN_QSKIN_H

#include <stddef.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(QSKIN_DLL)
#  if defined(QSKIN_BUILDING)
#    define QSKIN_API __declspec(dllexport)
#  else
#    define QSKIN_API __declspec(dllimport)
#  endif
#else
#  define QSKIN_API
#endif

typedef enum qskin_result {
    QSKIN_OK = 0,
    /* Success, but nothing had to change (already on, already off). */
    QSKIN_UNCHANGED = 1,
    /* A null pointer, an empty buffer or something that is not a window. */
    QSKIN_E_ARGUMENT = -1,
    /* The skin file does not exist or cannot be read. */
    QSKIN_E_FILE = -2,
    /* The bytes are not a skin archive this library can read (damaged,
       truncated, or sizes that point past the end). The skin in use, if
       any, stays in use. */
    QSKIN_E_BAD_SKIN = -3,
    /* An archive of an older format this library no longer reads. */
    QSKIN_E_OLD_SKIN = -4,
    /* qskin_enable without a skin loaded. */
    QSKIN_E_NO_SKIN = -5,
    /* Skinning belongs to another thread of the process: call from the
       thread that first loaded a skin, or qskin_shutdown there first. */
    QSKIN_E_WRONG_THREAD = -6,
    /* Out of memory or an unexpected failure inside the engine. */
    QSKIN_E_INTERNAL = -7
} qskin_result;

/* Loads a skin archive (.skn). While skinning is on, the new skin replaces
   the old one on every open window at once: this is how a skin is changed.
   A skin that fails to load leaves the current one in place. */
QSKIN_API int qskin_load_file(const wchar_t *path);
/* The same from bytes in memory (copied; the caller keeps its buffer). */
QSKIN_API int qskin_load_memory(const void *data, size_t size);

/* Switches skinning on for the calling thread: open visible top-level windows
   are skinned now, later ones as they are shown. QSKIN_UNCHANGED when it is
   already on. */
QSKIN_API int qskin_enable(void);
/* Gives every skinned window its own look back; QSKIN_UNCHANGED when
   skinning is already off. The loaded skin stays for a later qskin_enable. */
QSKIN_API int qskin_disable(void);
/* 1 while skinning is on, 0 while it is off. */
QSKIN_API int qskin_is_enabled(void);

/* The process palette: while skinning is on, every part of the process that
   asks the system for its colours (GetSysColor, GetSysColorBrush) gets the
   skin's instead, so owner-drawn and custom-painted windows follow the skin
   too; the process's windows are told of the change as the system tells
   them of its own. Off (0) by default; skinrun turns it on. At
   qskin_disable the system's colours come back exactly. The brushes handed
   out meanwhile stay valid for the life of the process, and deleting one
   does nothing. QSKIN_UNCHANGED when the setting already was so;
   QSKIN_E_INTERNAL when the system's functions cannot be taken over here
   (the setting stays off). */
QSKIN_API int qskin_set_process_palette(int on);

/* 1 when the window is skinned now, 0 when not, QSKIN_E_ARGUMENT when the
   handle is not a window. Any window of any thread may be asked; a hung
   window counts as not skinned after one second. */
QSKIN_API int qskin_is_skinned(HWND window);

/* Switches skinning off, frees the skin and the engine's hook. Safe to call
   more than once and without a skin ever loaded. */
QSKIN_API void qskin_shutdown(void);

/* A short English text for a result code (never null). */
QSKIN_API const char *qskin_result_text(int result);
/* The library's version, "major.minor.patch". */
QSKIN_API const char *qskin_version(void);

#ifdef __cplusplus
}
#endif

#endif /* QSKIN_QSKIN_H */
