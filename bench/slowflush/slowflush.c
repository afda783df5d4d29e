// slowflush: a pass-through file system whose flushes cost what a spinning disk's do.
//
// Every operation goes straight to a backing folder, except fsync and fsyncdir, which model one disk with a
// write cache: a caller of fsync waits in a queue; a single device thread takes every waiting request at
// the start of a device flush, sleeps the flush time (flush_ms, 8 ms by default: a 7,200-rpm disk's) and
// then completes exactly those requests, as a disk's cache flush commits all data written before it.
// Device flushes thus run one at a time, fsyncs that arrive together share one, and a lone fsync costs a
// whole flush. The backing folder's own data is never flushed: the figure is the modelled disk's alone.
//
//   slowflush -f -o backing=FOLDER[,flush_ms=N] MOUNTPOINT
//
// Multi-threaded (libfuse's default loop), so concurrent fsyncs wait together. When it ends it prints the
// number of fsyncs and of device flushes to standard error.
#define FUSE_USE_VERSION 31
#define _GNU_SOURCE

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <limits.h>
#include <pthread.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

struct options {
    char* backing;
    unsigned flush_ms;
};

static struct options options = {NULL, 8};

static const struct fuse_opt option_spec[] = {
    {"backing=%s", offsetof(struct options, backing), 0},
    {"flush_ms=%u", offsetof(struct options, flush_ms), 0},
    FUSE_OPT_END,
};

// ---- The modelled disk ----------------------------------------------------------------------------

struct request {
    struct request* next;
    int done;
};

static pthread_mutex_t disk_lock = PTHREAD_MUTEX_INITIALIZER;
static pthread_cond_t disk_wake = PTHREAD_COND_INITIALIZER;
static pthread_cond_t disk_done = PTHREAD_COND_INITIALIZER;
static struct request* waiting;
static unsigned long fsyncs, device_flushes;

static void* device(void* unused)
{
    (void)unused;
    const struct timespec flush_time = {options.flush_ms / 1000, (long)(options.flush_ms % 1000) * 1000000L};
    for (;;) {
        pthread_mutex_lock(&disk_lock);
        while (waiting == NULL)
            pthread_cond_wait(&disk_wake, &disk_lock);
        struct request* batch = waiting; // every request waiting as this flush begins
        waiting = NULL;
        ++device_flushes;
        pthread_mutex_unlock(&disk_lock);

        nanosleep(&flush_time, NULL);

        pthread_mutex_lock(&disk_lock);
        for (struct request* r = batch; r != NULL; r = r->next)
            r->done = 1;
        pthread_cond_broadcast(&disk_done);
        pthread_mutex_unlock(&disk_lock);
    }
    return NULL;
}

// Waits until a device flush that began after this call has completed.
static int flush_through_disk(void)
{
    struct request mine = {NULL, 0};
    pthread_mutex_lock(&disk_lock);
    ++fsyncs;
    mine.next = waiting;
    waiting = &mine;
    pthread_cond_signal(&disk_wake);
    while (!mine.done)
        pthread_cond_wait(&disk_done, &disk_lock);
    pthread_mutex_unlock(&disk_lock);
    return 0;
}

// ---- Pass-through -----------------------------------------------------------------------------------

// The backing path of a path of the mount; returns -ENAMETOOLONG when it does not fit.
static int backing(char out[PATH_MAX], const char* path)
{
    return snprintf(out, PATH_MAX, "%s%s", options.backing, path) < PATH_MAX ? 0 : -ENAMETOOLONG;
}

#define BACKING(name, path)                                                                                   \
    char name[PATH_MAX];                                                                                      \
    if (backing(name, path) != 0)                                                                             \
        return -ENAMETOOLONG

static int result(int rc)
{
    return rc == -1 ? -errno : 0;
}

static void* sf_init(struct fuse_conn_info* conn, struct fuse_config* config)
{
    (void)conn;
    config->use_ino = 1;
    config->entry_timeout = 0;
    config->attr_timeout = 0;
    config->negative_timeout = 0;
    pthread_t thread;
    pthread_create(&thread, NULL, device, NULL);
    pthread_detach(thread);
    return NULL;
}

static void sf_destroy(void* data)
{
    (void)data;
    fprintf(stderr, "slowflush: %lu fsyncs, %lu device flushes of %u ms\n", fsyncs, device_flushes,
            options.flush_ms);
}

static int sf_getattr(const char* path, struct stat* st, struct fuse_file_info* fi)
{
    if (fi != NULL)
        return result(fstat((int)fi->fh, st));
    BACKING(real, path);
    return result(lstat(real, st));
}

static int sf_readdir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t offset,
                      struct fuse_file_info* fi, enum fuse_readdir_flags flags)
{
    (void)offset, (void)fi, (void)flags;
    BACKING(real, path);
    DIR* dir = opendir(real);
    if (dir == NULL)
        return -errno;
    for (struct dirent* e; (e = readdir(dir)) != NULL;) {
        struct stat st = {0};
        st.st_ino = e->d_ino;
        st.st_mode = (mode_t)DTTOIF(e->d_type);
        if (fill(buffer, e->d_name, &st, 0, 0) != 0)
            break;
    }
    closedir(dir);
    return 0;
}

static int sf_mkdir(const char* path, mode_t mode)
{
    BACKING(real, path);
    return result(mkdir(real, mode));
}

static int sf_rmdir(const char* path)
{
    BACKING(real, path);
    return result(rmdir(real));
}

static int sf_unlink(const char* path)
{
    BACKING(real, path);
    return result(unlink(real));
}

static int sf_rename(const char* from, const char* to, unsigned int flags)
{
    BACKING(realFrom, from);
    BACKING(realTo, to);
    return result(renameat2(AT_FDCWD, realFrom, AT_FDCWD, realTo, flags));
}

static int sf_chmod(const char* path, mode_t mode, struct fuse_file_info* fi)
{
    if (fi != NULL)
        return result(fchmod((int)fi->fh, mode));
    BACKING(real, path);
    return result(chmod(real, mode));
}

static int sf_chown(const char* path, uid_t uid, gid_t gid, struct fuse_file_info* fi)
{
    if (fi != NULL)
        return result(fchown((int)fi->fh, uid, gid));
    BACKING(real, path);
    return result(lchown(real, uid, gid));
}

static int sf_truncate(const char* path, off_t size, struct fuse_file_info* fi)
{
    if (fi != NULL)
        return result(ftruncate((int)fi->fh, size));
    BACKING(real, path);
    return result(truncate(real, size));
}

static int sf_utimens(const char* path, const struct timespec times[2], struct fuse_file_info* fi)
{
    if (fi != NULL)
        return result(futimens((int)fi->fh, times));
    BACKING(real, path);
    return result(utimensat(AT_FDCWD, real, times, AT_SYMLINK_NOFOLLOW));
}

static int sf_open(const char* path, struct fuse_file_info* fi)
{
    BACKING(real, path);
    const int fd = open(real, fi->flags);
    if (fd == -1)
        return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}

static int sf_create(const char* path, mode_t mode, struct fuse_file_info* fi)
{
    BACKING(real, path);
    const int fd = open(real, fi->flags, mode);
    if (fd == -1)
        return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}

static int sf_read(const char* path, char* buffer, size_t size, off_t offset, struct fuse_file_info* fi)
{
    (void)path;
    const ssize_t n = pread((int)fi->fh, buffer, size, offset);
    return n == -1 ? -errno : (int)n;
}

static int sf_write(const char* path, const char* buffer, size_t size, off_t offset, struct fuse_file_info* fi)
{
    (void)path;
    const ssize_t n = pwrite((int)fi->fh, buffer, size, offset);
    return n == -1 ? -errno : (int)n;
}

static int sf_statfs(const char* path, struct statvfs* st)
{
    BACKING(real, path);
    return result(statvfs(real, st));
}

static int sf_release(const char* path, struct fuse_file_info* fi)
{
    (void)path;
    close((int)fi->fh);
    return 0;
}

static int sf_fsync(const char* path, int datasync, struct fuse_file_info* fi)
{
    (void)path, (void)datasync, (void)fi;
    return flush_through_disk();
}

static int sf_fsyncdir(const char* path, int datasync, struct fuse_file_info* fi)
{
    (void)path, (void)datasync, (void)fi;
    return flush_through_disk();
}

static int sf_setxattr(const char* path, const char* name, const char* value, size_t size, int flags)
{
    BACKING(real, path);
    return result(lsetxattr(real, name, value, size, flags));
}

static int sf_getxattr(const char* path, const char* name, char* value, size_t size)
{
    BACKING(real, path);
    const ssize_t n = lgetxattr(real, name, value, size);
    return n == -1 ? -errno : (int)n;
}

static int sf_listxattr(const char* path, char* list, size_t size)
{
    BACKING(real, path);
    const ssize_t n = llistxattr(real, list, size);
    return n == -1 ? -errno : (int)n;
}

static int sf_removexattr(const char* path, const char* name)
{
    BACKING(real, path);
    return result(lremovexattr(real, name));
}

static const struct fuse_operations operations = {
    .init = sf_init,
    .destroy = sf_destroy,
    .getattr = sf_getattr,
    .readdir = sf_readdir,
    .mkdir = sf_mkdir,
    .rmdir = sf_rmdir,
    .unlink = sf_unlink,
    .rename = sf_rename,
    .chmod = sf_chmod,
    .chown = sf_chown,
    .truncate = sf_truncate,
    .utimens = sf_utimens,
    .open = sf_open,
    .create = sf_create,
    .read = sf_read,
    .write = sf_write,
    .statfs = sf_statfs,
    .release = sf_release,
    .fsync = sf_fsync,
    .fsyncdir = sf_fsyncdir,
    .setxattr = sf_setxattr,
    .getxattr = sf_getxattr,
    .listxattr = sf_listxattr,
    .removexattr = sf_removexattr,
};

int main(int argc, char* argv[])
{
    struct fuse_args args = FUSE_ARGS_INIT(argc, argv);
    if (fuse_opt_parse(&args, &options, option_spec, NULL) == -1)
        return 1;
    if (options.backing == NULL) {
        fprintf(stderr, "usage: slowflush -f -o backing=FOLDER[,flush_ms=N] MOUNTPOINT\n");
        return 2;
    }
    const int rc = fuse_main(args.argc, args.argv, &operations, NULL);
    fuse_opt_free_args(&args);
    return rc;
}
