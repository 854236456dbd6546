/* A slow store for the kill-while-saving test, preloaded (LD_PRELOAD) into `solmar` by the
 * test only: every write() to a file in the folder $SOLMAR_SLOW_WRITE_DIR (lock files
 * excepted) goes out one byte at a time, $SOLMAR_SLOW_WRITE_US microseconds apart, so a
 * kill has a wide window inside the settings write to land in. After each byte the number of
 * bytes written so far is stored in $SOLMAR_SLOW_WRITE_LOG (as decimal text, added to what
 * the file held), so the test can tell a kill inside the write from one before or after it.
 * Without SOLMAR_SLOW_WRITE_DIR every write passes straight through. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

typedef ssize_t (*WriteFunction)(int, const void*, size_t);

static WriteFunction RealWrite(void) {
  static WriteFunction real;
  if (!real) real = (WriteFunction)dlsym(RTLD_NEXT, "write");
  return real;
}

/* Whether fd is a file of the slowed folder (a file made without a name, as QSaveFile makes
 * its temporary one, reads as "DIR/#inode (deleted)"). */
static int IsSlowed(int fd) {
  const char* dir = getenv("SOLMAR_SLOW_WRITE_DIR");
  if (!dir || !*dir) return 0;
  char link[64];
  char target[4096];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, target, sizeof target - 1);
  if (length <= 0) return 0;
  target[length] = 0;
  const size_t dirLength = strlen(dir);
  if (strncmp(target, dir, dirLength) != 0 || target[dirLength] != '/') return 0;
  return strstr(target + dirLength, ".lock") == NULL;
}

/* Adds one to the count of slowed bytes in the log. */
static void CountByte(void) {
  const char* log = getenv("SOLMAR_SLOW_WRITE_LOG");
  if (!log || !*log) return;
  const int fd = open(log, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  char text[32] = {0};
  const ssize_t got = pread(fd, text, sizeof text - 1, 0);
  const unsigned long count = (got > 0 ? strtoul(text, NULL, 10) : 0) + 1;
  const int length = snprintf(text, sizeof text, "%20lu\n", count);
  if (pwrite(fd, text, (size_t)length, 0) != length) { /* the count is lost; the write goes on */ }
  close(fd);
}

ssize_t write(int fd, const void* data, size_t size) {
  WriteFunction real = RealWrite();
  if (!real) {
    errno = ENOSYS;
    return -1;
  }
  if (size == 0 || !IsSlowed(fd)) return real(fd, data, size);
  const char* pause = getenv("SOLMAR_SLOW_WRITE_US");
  const long micros = pause ? atol(pause) : 200;
  const struct timespec gap = {micros / 1000000, (micros % 1000000) * 1000};
  size_t done = 0;
  while (done < size) {
    const ssize_t wrote = real(fd, (const char*)data + done, 1);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      return done ? (ssize_t)done : -1;
    }
    ++done;
    CountByte();
    nanosleep(&gap, NULL);
  }
  return (ssize_t)done;
}
