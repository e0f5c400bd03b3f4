/* Watches the X screen from outside and prints, in milliseconds since it started, when the saver's loading screen
 * (the built-in photograph: colours other than pure black and white) first shows and when the spiral (pure black
 * and white only, both present) first follows it. Samples a few small patches away from the centre, where the
 * loading text sits, every 5 ms (polling without pause would take the processor from the saver being measured).
 * Start the X server with a black root (Xvfb -br).
 * Usage: screen_watch [timeout seconds]; prints "loading <ms>", "spiral <ms>" and "loading lasted <ms>". */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

enum Look { BLACK, PICTURE, SPIRAL };

static double NowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static enum Look Classify(Display* d, Window root, int w, int h) {
    const int size = 32;
    const int spots[5][2] = {
        {w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}, {w / 8, h / 2}};
    int blacks = 0, whites = 0, others = 0;
    for (int s = 0; s < 5; ++s) {
        XImage* image = XGetImage(d, root, spots[s][0], spots[s][1], size, size, AllPlanes, ZPixmap);
        if (image == NULL)
            continue;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const unsigned long p = XGetPixel(image, x, y) & 0xFFFFFF;
                blacks += p == 0;
                whites += p == 0xFFFFFF;
                others += p != 0 && p != 0xFFFFFF;
            }
        XDestroyImage(image);
    }
    if (others > 0)
        return PICTURE;
    return whites > 0 && blacks > 0 ? SPIRAL : BLACK;
}

int main(int argc, char** argv) {
    const double timeoutMs = (argc > 1 ? atof(argv[1]) : 60) * 1000;
    Display* d = XOpenDisplay(NULL);
    if (d == NULL) {
        fprintf(stderr, "screen_watch: cannot open the display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(d);
    const int w = DisplayWidth(d, DefaultScreen(d)), h = DisplayHeight(d, DefaultScreen(d));
    const double start = NowMs();
    double loading = -1;
    for (double now = start; now - start < timeoutMs; usleep(5000), now = NowMs()) {
        const enum Look look = Classify(d, root, w, h);
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
