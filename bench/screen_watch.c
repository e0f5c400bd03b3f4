/* Watches the X screen from outside, as a person sees it. Start the X server with a black root (Xvfb -br).
 *
 * screen_watch [SECONDS]: when the saver's loading screen (the built-in photograph: colours other than pure black
 * and white) first shows and when the spiral (pure black and white only, both present) first follows it. Samples a
 * few small patches away from the centre, where the loading text sits, every 5 ms (polling without pause would take
 * the processor from the saver being measured). Prints "loading <ms>", "spiral <ms>" and "loading lasted <ms>".
 *
 * screen_watch --pace SECONDS: the pace of the spiral. Reads a 64 x 64 patch at the centre every 2 ms and notes each
 * change. While the spiral turns (the default colours) the times between changes are the visible frame intervals;
 * when a picture follows, the time from the spiral's last change to the picture's first look is the standstill
 * before it. Prints "interval <ms>" for every visible spiral change after the first of a phase and
 * "standstill <ms>" for every picture, in the order seen. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

enum Look { NOTHING, PICTURE, SPIRAL };
enum { kPatch = 64 };

static double NowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* Reads the size x size patch at (x, y), its pixels into pixels when given, and adds up what it holds. */
static void ReadPatch(Display* d, Window root, int x, int y, int size, unsigned long* pixels, int counts[3]) {
    XImage* image = XGetImage(d, root, x, y, size, size, AllPlanes, ZPixmap);
    if (image == NULL)
        return;
    for (int i = 0; i < size * size; ++i) {
        const unsigned long p = XGetPixel(image, i % size, i / size) & 0xFFFFFF;
        if (pixels != NULL)
            pixels[i] = p;
        ++counts[p == 0 ? 0 : p == 0xFFFFFF ? 1 : 2]; /* black, white, other */
    }
    XDestroyImage(image);
}

static enum Look Classify(const int counts[3]) {
    if (counts[2] > 0)
        return PICTURE;
    return counts[0] > 0 && counts[1] > 0 ? SPIRAL : NOTHING;
}

static int WatchLoading(Display* d, Window root, int w, int h, double timeoutMs) {
    const int spots[5][2] = {
        {w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}, {w / 8, h / 2}};
    const double start = NowMs();
    double loading = -1;
    for (double now = start; now - start < timeoutMs; usleep(5000), now = NowMs()) {
        int counts[3] = {0, 0, 0};
        for (int s = 0; s < 5; ++s)
            ReadPatch(d, root, spots[s][0], spots[s][1], 32, NULL, counts);
        const enum Look look = Classify(counts);
        if (look == PICTURE && loading < 0) {
            loading = now - start;
            printf("loading %.0f\n", loading);
            fflush(stdout);
        } else if (look == SPIRAL && loading >= 0) {
            printf("spiral %.0f\nloading lasted %.0f\n", now - start, now - start - loading);
            return 0;
        }
    }
    fprintf(stderr, "screen_watch: no spiral after the loading screen within the time limit\n");
    return 1;
}

static int WatchPace(Display* d, Window root, int w, int h, double timeoutMs) {
    static unsigned long previous[kPatch * kPatch], now[kPatch * kPatch];
    enum Look last = NOTHING;
    double lastSpiralChange = -1;
    const double start = NowMs();
    for (double t = start; t - start < timeoutMs; usleep(2000), t = NowMs()) {
        int counts[3] = {0, 0, 0};
        ReadPatch(d, root, w / 2 - kPatch / 2, h / 2 - kPatch / 2, kPatch, now, counts);
        const enum Look look = Classify(counts);
        /* A patch of one colour (a picture's black fill caught half drawn) counts as what was there before. */
        if (look == SPIRAL && memcmp(now, previous, sizeof now) != 0) {
            if (last == SPIRAL && lastSpiralChange >= 0)
                printf("interval %.1f\n", t - lastSpiralChange);
            lastSpiralChange = t;
        } else if (look == PICTURE && last == SPIRAL && lastSpiralChange >= 0) {
            printf("standstill %.1f\n", t - lastSpiralChange);
        }
        if (look == PICTURE)
            lastSpiralChange = -1;
        if (look != NOTHING)
            last = look;
        memcpy(previous, now, sizeof now);
    }
    return 0;
}

int main(int argc, char** argv) {
    const int pace = argc > 1 && strcmp(argv[1], "--pace") == 0;
    const double seconds = argc > 1 + pace ? atof(argv[1 + pace]) : pace ? 20 : 60;
    Display* d = XOpenDisplay(NULL);
    if (d == NULL) {
        fprintf(stderr, "screen_watch: cannot open the display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(d);
    const int w = DisplayWidth(d, DefaultScreen(d)), h = DisplayHeight(d, DefaultScreen(d));
    return pace ? WatchPace(d, root, w, h, seconds * 1000) : WatchLoading(d, root, w, h, seconds * 1000);
}
