/* stall_fs BACKING CONTROL MOUNTPOINT [FUSE OPTIONS]: a drive that stops answering on request, for the tests of
 * pictures on a network drive that sleeps. Mounts BACKING read-only at MOUNTPOINT and, while the file CONTROL holds
 * one of these words, leaves the matching requests unanswered until it no longer does:
 *   list              folder listings
 *   read              reads past a file's first piece (its first read request)
 *   read-after-first  the same, except for the first file read past its first piece, which reads whole
 * Anything else (an empty file) answers everything: the drive has woken. Opens and lookups are always answered: the
 * Wine server makes them for every program of its prefix, and a stalled one would hang them all. Reads bypass the
 * page cache, so every read of the saver reaches this file system. */
#define FUSE_USE_VERSION 31
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static const char* g_backing;
static const char* g_control;
static pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;
static char g_firstRead[4096]; /* read-after-first: the file that reads whole */

static void Mode(char* mode, size_t size) {
    mode[0] = '\0';
    FILE* f = fopen(g_control, "r");
    if (f == NULL)
        return;
    if (fgets(mode, (int)size, f) == NULL)
        mode[0] = '\0';
    fclose(f);
    mode[strcspn(mode, "\r\n ")] = '\0';
}

/* Blocks while stalls(mode) holds, checking the control file every 20 ms. */
static void WaitWhile(int (*stalls)(const char* mode, const char* path), const char* path) {
    char mode[64];
    for (Mode(mode, sizeof mode); stalls(mode, path); Mode(mode, sizeof mode)) {
        const struct timespec pause = {0, 20 * 1000 * 1000};
        nanosleep(&pause, NULL);
    }
}

static int ListingStalls(const char* mode, const char* path) {
    (void)path;
    return strcmp(mode, "list") == 0;
}

static int ReadStalls(const char* mode, const char* path) {
    if (strcmp(mode, "read") == 0)
        return 1;
    pthread_mutex_lock(&g_lock);
    if (strcmp(mode, "read-after-first") != 0) {
        g_firstRead[0] = '\0'; /* the next read-after-first starts afresh */
        pthread_mutex_unlock(&g_lock);
        return 0;
    }
    if (g_firstRead[0] == '\0')
        snprintf(g_firstRead, sizeof g_firstRead, "%s", path);
    const int stalls = strcmp(g_firstRead, path) != 0;
    pthread_mutex_unlock(&g_lock);
    return stalls;
}

static void Backing(char* out, size_t size, const char* path) {
    snprintf(out, size, "%s%s", g_backing, path);
}

static int Getattr(const char* path, struct stat* st, struct fuse_file_info* fi) {
    (void)fi;
    char real[4096];
    Backing(real, sizeof real, path);
    return lstat(real, st) == 0 ? 0 : -errno;
}

static int Readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t offset, struct fuse_file_info* fi,
                   enum fuse_readdir_flags flags) {
    (void)offset, (void)fi, (void)flags;
    WaitWhile(ListingStalls, path);
    char real[4096];
    Backing(real, sizeof real, path);
    DIR* d = opendir(real);
    if (d == NULL)
        return -errno;
    for (struct dirent* e; (e = readdir(d)) != NULL;)
        fill(buf, e->d_name, NULL, 0, 0);
    closedir(d);
    return 0;
}

static int Open(const char* path, struct fuse_file_info* fi) {
    if ((fi->flags & O_ACCMODE) != O_RDONLY)
        return -EROFS;
    char real[4096];
    Backing(real, sizeof real, path);
    const int fd = open(real, O_RDONLY);
    if (fd < 0)
        return -errno;
    fi->fh = (uint64_t)fd;
    fi->direct_io = 1;
    return 0;
}

static int Read(const char* path, char* buf, size_t size, off_t offset, struct fuse_file_info* fi) {
    if (offset > 0)
        WaitWhile(ReadStalls, path);
    const ssize_t n = pread((int)fi->fh, buf, size, offset);
    return n < 0 ? -errno : (int)n;
}

static int Release(const char* path, struct fuse_file_info* fi) {
    (void)path;
    close((int)fi->fh);
    return 0;
}

static const struct fuse_operations kOperations = {
    .getattr = Getattr, .readdir = Readdir, .open = Open, .read = Read, .release = Release};

int main(int argc, char* argv[]) {
    if (argc < 4) {
        fprintf(stderr, "usage: stall_fs BACKING CONTROL MOUNTPOINT [FUSE OPTIONS]\n");
        return 2;
    }
    g_backing = argv[1];
    g_control = argv[2];
    argv[2] = argv[0];
    return fuse_main(argc - 2, argv + 2, &kOperations, NULL);
}
