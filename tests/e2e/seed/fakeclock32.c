// The simulated clock for the i686 Wine loader. Debian's i386 libfaketime catches the 32-bit time
// calls only, while 32-bit Wine reads the clock through glibc's 64-bit-time entry points. This
// library adds the offset in $FAKETIME_TIMESTAMP_FILE (whole seconds, read at every call, like
// libfaketime with FAKETIME_NO_CACHE) to the wall clock; the monotonic clocks stay real.
// Built without headers or libraries (gcc -m32 -nostdlib), so no 32-bit development files are needed.
typedef long long i64;
struct ts64 { i64 sec; i64 nsec; };
struct tv64 { i64 sec; i64 usec; };
extern void *dlsym(void *, const char *);
extern char *getenv(const char *);
extern int open(const char *, int, ...);
extern int read(int, void *, unsigned int);
extern int close(int);
#define RTLD_NEXT ((void *)-1)

static i64 offset(void) {
    const char *path = getenv("FAKETIME_TIMESTAMP_FILE");
    char buf[32];
    int fd, n, i = 0, neg = 0;
    i64 v = 0;
    if (!path || (fd = open(path, 0)) < 0) return 0;
    n = read(fd, buf, sizeof buf - 1);
    close(fd);
    if (n <= 0) return 0;
    if (buf[0] == '+' || buf[0] == '-') { neg = buf[0] == '-'; i = 1; }
    for (; i < n && buf[i] >= '0' && buf[i] <= '9'; i++) v = v * 10 + (buf[i] - '0');
    return neg ? -v : v;
}

int __clock_gettime64(int clk, struct ts64 *ts) {
    static int (*real)(int, struct ts64 *);
    if (!real) real = (int (*)(int, struct ts64 *))dlsym(RTLD_NEXT, "__clock_gettime64");
    int rc = real(clk, ts);
    if (rc == 0 && ts && (clk == 0 || clk == 5)) ts->sec += offset();
    return rc;
}
int __gettimeofday64(struct tv64 *tv, void *tz) {
    static int (*real)(struct tv64 *, void *);
    if (!real) real = (int (*)(struct tv64 *, void *))dlsym(RTLD_NEXT, "__gettimeofday64");
    int rc = real(tv, tz);
    if (rc == 0 && tv) tv->sec += offset();
    return rc;
}
i64 __time64(i64 *t) {
    struct ts64 ts;
    __clock_gettime64(0, &ts);
    if (t) *t = ts.sec;
    return ts.sec;
}
