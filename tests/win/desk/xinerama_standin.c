/* A stand-in for the X client library that reports the heads of a multi-monitor desk (Xinerama), for tests on
 * one virtual X screen: Xvfb's own Xinerama puts every head at 0,0. The heads come from WHORLIX_DESK_HEADS,
 * "WxH+X+Y" separated by commas, in X screen coordinates; the first is the primary. Wine reads them once XRandR
 * is off for it and this library is found first on LD_LIBRARY_PATH. */
#include <stdio.h>
#include <stdlib.h>

typedef struct {
    int screen_number;
    short x_org, y_org, width, height;
} XineramaScreenInfo;

enum { kMaxHeads = 16 };

int XineramaQueryExtension(void* display, int* eventBase, int* errorBase) {
    (void)display;
    *eventBase = 0;
    *errorBase = 0;
    return 1;
}

int XineramaIsActive(void* display) {
    (void)display;
    return 1;
}

/* The caller frees the array with XFree, which is free. */
XineramaScreenInfo* XineramaQueryScreens(void* display, int* number) {
    (void)display;
    const char* heads = getenv("WHORLIX_DESK_HEADS");
    XineramaScreenInfo* screens = calloc(kMaxHeads, sizeof *screens);
    int n = 0, w, h, x, y, used;
    while (screens != NULL && heads != NULL && n < kMaxHeads &&
           sscanf(heads, "%dx%d+%d+%d%n", &w, &h, &x, &y, &used) == 4) {
        screens[n] = (XineramaScreenInfo){n, (short)x, (short)y, (short)w, (short)h};
        ++n;
        heads += used;
        if (*heads == ',')
            ++heads;
    }
    *number = n;
    return screens;
}
