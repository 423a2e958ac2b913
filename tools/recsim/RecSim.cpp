// recsim: the simulated vibration recorder on a pseudo terminal, for link tests under Wine.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "tools/recsim/RecorderModel.h"

using namespace recsim;

namespace {

const char kHelp[] =
    "usage: recsim [options]\n"
    "Streams recorder records on a pseudo terminal (or writes an SD-card file with --sd-file).\n"
    "\n"
    "Stream:\n"
    "  --bit 12|16            record format: 12-bit (16-byte records) or 16-bit (19 bytes); 12\n"
    "  --rate N               sample records per second; 0 = the line's limit at 115200 baud\n"
    "                         (720/s 12-bit, 606/s 16-bit); default 100\n"
    "  --lowpass HZ           low-pass code of the format's table (5, 10, 20, 40); default 5\n"
    "  --code C               raw low-pass code byte (overrides --lowpass)\n"
    "  --axis A:k=v,...       signal of axis A (x, y or z); keys: amp, freq, phase, noise (counts\n"
    "                         and Hz), burst (amplitude), burstfreq, burstperiod, burstms (ms)\n"
    "  --seed N               noise seed; default 1\n"
    "  --tm-every S           a \"TM\" time report every S seconds of stream (0: none); default 0\n"
    "  --clock YYYY-MM-DD-hh-mm-ss  the recorder's clock at the first record; default: now\n"
    "  --count N              pause after N sample records (0: unlimited)\n"
    "  --paused               send nothing until a \"start\" or \"send N\" command\n"
    "  --idle-tm S            while paused, a time report every S seconds, so the line never\n"
    "                         falls silent (0: none); default 0\n"
    "  --thresholds P,N1,N2,N3  initial thresholds (P in tenths of a gal); default 15,10,20,30\n"
    "  --reply-order LIST     order of the threshold reply lines, e.g. N2,P,N3,N1; default P,N1,N2,N3\n"
    "  --reply-delay MS       answer the threshold request MS ms late; default 0\n"
    "  --echo                 send every command line received back (with CR LF) before its answer\n"
    "  --mute                 take commands but answer none\n"
    "\n"
    "Port and control:\n"
    "  --link PATH            symlink PATH to the pty slave, e.g. $WINEPREFIX/dosdevices/com5\n"
    "  --keep-link            re-create the link whenever it is missing or wrong (checked every\n"
    "                         100 ms; a wineserver start removes com links)\n"
    "  --pty-file FILE        write the slave's path to FILE once it is ready\n"
    "  --control FIFO         read commands from FIFO (created when missing)\n"
    "  --stdin                read commands from standard input too\n"
    "  --log FILE             log of every byte sent and received and every event\n"
    "\n"
    "SD-card file:\n"
    "  --sd-file FILE         write FILE instead of serving: a time line, then --sd-seconds of\n"
    "                         samples (with a time line every --tm-every seconds), CR LF lines\n"
    "  --sd-seconds S         length of the SD-card file; default 10\n"
    "\n"
    "Commands (one per line):\n"
    "  start | stop           stream (without limit) or pause\n"
    "  send N                 stream N more sample records, then pause\n"
    "  rate N | bit 12|16 | lowpass HZ | code C\n"
    "  tm                     send a time report now\n"
    "  tm-every S             as the option above, from now on\n"
    "  overrun N|off          as a real line into a PC port whose receive queue holds N bytes (4096\n"
    "                         for the usual driver; at most 4095 are seen): what does not fit while\n"
    "                         nobody reads is lost, logged as DROP n; default off (bytes wait)\n"
    "  lose N                 drop N bytes from the middle of the next sample record\n"
    "  garbage N              send N random bytes now (no line feeds)\n"
    "  silence MS             send nothing for MS ms; the stream resumes where it stopped\n"
    "  order LIST | delay MS | echo on|off | mute on|off   as the options above\n"
    "  burst A AMP N [D]      add AMP*sin(2*pi*5Hz*t) counts (t from 0) to axis A (x, y or z) of\n"
    "                         N sample records, starting D records (default 0) after the next\n"
    "                         one; EV BURST-END after the last\n"
    "  hangup MS              close the pty (the port vanishes), re-create it after MS ms\n"
    "  quit\n"
    "\n"
    "Log lines: \"<ms> <TAG> ...\": S seq x y z (a whole sample record sent, values minus\n"
    "mid-scale), T text (time report sent), LOST seq n, GARBAGE n, DROP n, TX hex, RX hex, CMD text\n"
    "(a command understood: THR, P=n, N1=n, CLOCK YY-MM-DD-hh-mm-ss), REPLY hex (an answer sent),\n"
    "EV text (state changes: PTY path, LINK, START, PAUSE, SILENCE, HANGUP, DONE).\n";

volatile sig_atomic_t gQuit = 0;
void OnSignal(int) { gQuit = 1; }

double NowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

std::string Hex(const std::string& s) {
    static const char* d = "0123456789abcdef";
    std::string h;
    for (unsigned char c : s) {
        h += d[c >> 4];
        h += d[c & 15];
    }
    return h;
}

struct Options {
    int bit = 12;
    double rate = 100;
    double lowpass = 5.0;
    int code = -1;
    AxisSignal axes[3];
    uint32_t seed = 1;
    double tmEvery = 0;
    bool clockGiven = false;
    ClockTime clock;
    long long count = 0;
    bool paused = false;
    int thresholds[4] = {15, 10, 20, 30};
    std::string replyOrder;
    double replyDelay = 0;
    bool echo = false, mute = false;
    std::string link, ptyFile, control, log, sdFile;
    bool keepLink = false, useStdin = false;
    double sdSeconds = 10;
    double idleTm = 0;
};

bool ParseClock(const char* s, ClockTime& t) {
    return std::sscanf(s, "%d-%d-%d-%d-%d-%d", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                       &t.second) == 6;
}

bool ParseAxis(const char* arg, Options& o) {
    const char a = arg[0];
    const int i = a == 'x' ? 0 : a == 'y' ? 1 : a == 'z' ? 2 : -1;
    if (i < 0 || arg[1] != ':') return false;
    std::string rest = arg + 2;
    size_t pos = 0;
    while (pos < rest.size()) {
        size_t comma = rest.find(',', pos);
        if (comma == std::string::npos) comma = rest.size();
        const std::string kv = rest.substr(pos, comma - pos);
        const size_t eq = kv.find('=');
        if (eq == std::string::npos) return false;
        const std::string k = kv.substr(0, eq);
        const double v = std::atof(kv.c_str() + eq + 1);
        AxisSignal& s = o.axes[i];
        if (k == "amp") s.amp = v;
        else if (k == "freq") s.freq = v;
        else if (k == "phase") s.phase = v;
        else if (k == "noise") s.noise = v;
        else if (k == "burst") s.burstAmp = v;
        else if (k == "burstfreq") s.burstFreq = v;
        else if (k == "burstperiod") s.burstPeriodMs = static_cast<int>(v);
        else if (k == "burstms") s.burstMs = static_cast<int>(v);
        else return false;
        pos = comma + 1;
    }
    return true;
}

int ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "recsim: %s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--help" || a == "-h") { std::fputs(kHelp, stdout); std::exit(0); }
        else if (a == "--bit") o.bit = std::atoi(next()) == 16 ? 16 : 12;
        else if (a == "--rate") o.rate = std::atof(next());
        else if (a == "--lowpass") o.lowpass = std::atof(next());
        else if (a == "--code") o.code = static_cast<unsigned char>(next()[0]);
        else if (a == "--axis") { if (!ParseAxis(next(), o)) { std::fprintf(stderr, "recsim: bad --axis %s\n", argv[i]); return 2; } }
        else if (a == "--seed") o.seed = static_cast<uint32_t>(std::strtoul(next(), nullptr, 10));
        else if (a == "--tm-every") o.tmEvery = std::atof(next());
        else if (a == "--clock") { if (!ParseClock(next(), o.clock)) { std::fprintf(stderr, "recsim: bad --clock\n"); return 2; } o.clockGiven = true; }
        else if (a == "--count") o.count = std::atoll(next());
        else if (a == "--paused") o.paused = true;
        else if (a == "--idle-tm") o.idleTm = std::atof(next());
        else if (a == "--thresholds") {
            if (std::sscanf(next(), "%d,%d,%d,%d", &o.thresholds[0], &o.thresholds[1], &o.thresholds[2], &o.thresholds[3]) != 4) {
                std::fprintf(stderr, "recsim: bad --thresholds\n");
                return 2;
            }
        }
        else if (a == "--reply-order") o.replyOrder = next();
        else if (a == "--reply-delay") o.replyDelay = std::atof(next());
        else if (a == "--echo") o.echo = true;
        else if (a == "--mute") o.mute = true;
        else if (a == "--link") o.link = next();
        else if (a == "--keep-link") o.keepLink = true;
        else if (a == "--pty-file") o.ptyFile = next();
        else if (a == "--control") o.control = next();
        else if (a == "--stdin") o.useStdin = true;
        else if (a == "--log") o.log = next();
        else if (a == "--sd-file") o.sdFile = next();
        else if (a == "--sd-seconds") o.sdSeconds = std::atof(next());
        else { std::fprintf(stderr, "recsim: unknown option %s (see --help)\n", a.c_str()); return 2; }
    }
    if (!o.clockGiven) {
        const time_t now = time(nullptr);
        tm lt;
        localtime_r(&now, &lt);
        o.clock = {lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min, lt.tm_sec};
    }
    return 0;
}

double LineLimit(int bit) { return 11520.0 / StreamRecordLength(bit); }

class Simulator {
public:
    explicit Simulator(const Options& o) : opt(o), gen(o.bit, o.axes, o.seed) {
        bit = o.bit;
        rate = o.rate;
        code = o.code >= 0 ? static_cast<char>(o.code) : LowPassCode(bit, o.lowpass);
        cmd.p = o.thresholds[0];
        cmd.n1 = o.thresholds[1];
        cmd.n2 = o.thresholds[2];
        cmd.n3 = o.thresholds[3];
        cmd.echo = o.echo;
        if (!o.replyOrder.empty() && !cmd.SetReplyOrder(o.replyOrder))
            std::fprintf(stderr, "recsim: bad --reply-order %s (ignored)\n", o.replyOrder.c_str());
        replyDelay = o.replyDelay;
        mute = o.mute;
        tmEverySeconds = o.tmEvery;
        clock = o.clock;
        streaming = !o.paused;
        limit = o.count > 0 ? o.count : -1;
        if (!o.log.empty()) {
            log = std::fopen(o.log.c_str(), "w");
            if (!log) std::fprintf(stderr, "recsim: cannot write %s\n", o.log.c_str());
        }
        t0 = NowMs();
    }
    ~Simulator() {
        ClosePty();
        if (log) std::fclose(log);
    }

    int WriteSdFile() {
        FILE* f = std::fopen(opt.sdFile.c_str(), "wb");
        if (!f) { std::perror(opt.sdFile.c_str()); return 1; }
        const std::string file = SdCardFile(bit, clock, gen, static_cast<long long>(opt.sdSeconds * 100),
                                            static_cast<long long>(opt.tmEvery * 100), code);
        std::fwrite(file.data(), 1, file.size(), f);
        return std::fclose(f) == 0 ? 0 : 1;
    }

    int Serve() {
        if (!OpenPty()) return 1;
        if (!opt.control.empty()) {
            struct stat st;
            if (stat(opt.control.c_str(), &st) != 0 && mkfifo(opt.control.c_str(), 0600) != 0) {
                std::perror(opt.control.c_str());
                return 1;
            }
            // Opened read-write so the FIFO never reports end-of-file between writers.
            controlFd = open(opt.control.c_str(), O_RDWR | O_NONBLOCK);
            if (controlFd < 0) { std::perror(opt.control.c_str()); return 1; }
        }
        if (!opt.ptyFile.empty()) {
            const std::string tmp = opt.ptyFile + ".tmp";
            FILE* f = std::fopen(tmp.c_str(), "w");
            if (f) {
                std::fprintf(f, "%s\n", slavePath.c_str());
                std::fclose(f);
                std::rename(tmp.c_str(), opt.ptyFile.c_str());
            }
        }
        nextDue = NowMs();
        if (streaming) Event("START");
        double lastLinkCheck = 0;
        while (!gQuit && !quit) {
            const double now = NowMs();
            if (hangupUntil > 0 && now >= hangupUntil) {
                hangupUntil = 0;
                if (!OpenPty()) return 1;
                nextDue = now;
            }
            if (silenceUntil > 0 && now >= silenceUntil) {
                silenceUntil = 0;
                nextDue = now;
                Event("SILENCE-END");
            }
            if (opt.keepLink && now - lastLinkCheck >= 100) {
                lastLinkCheck = now;
                if (masterFd >= 0) EnsureLink(false);
            }
            if (replyDue > 0 && now >= replyDue) {
                replyDue = 0;
                SendReply(delayedReply);
                delayedReply.clear();
            }
            if (Active()) Produce(now);
            else if (opt.idleTm > 0 && masterFd >= 0 && !streaming && now - lastIdleTm >= opt.idleTm * 1000) {
                lastIdleTm = now;
                SendTime();
            }
            Flush();
            // Sleep until the next record is due, a command or PC bytes arrive, or 100 ms.
            double wait = 100;
            if (Active()) wait = std::min(wait, std::max(0.0, nextDue - NowMs()));
            if (!out.empty()) wait = std::min(wait, 5.0);
            if (replyDue > 0) wait = std::min(wait, std::max(0.0, replyDue - NowMs()));
            pollfd fds[3];
            int n = 0;
            int iMaster = -1, iControl = -1, iStdin = -1;
            if (masterFd >= 0) { iMaster = n; fds[n++] = {masterFd, POLLIN, 0}; }
            if (controlFd >= 0) { iControl = n; fds[n++] = {controlFd, POLLIN, 0}; }
            if (opt.useStdin && !stdinClosed) { iStdin = n; fds[n++] = {0, POLLIN, 0}; }
            timespec ts;
            ts.tv_sec = static_cast<time_t>(wait / 1000);
            ts.tv_nsec = static_cast<long>(std::fmod(wait, 1000.0) * 1e6);
            const int r = ppoll(fds, static_cast<nfds_t>(n), &ts, nullptr);
            if (r < 0) {
                if (errno == EINTR) continue;
                std::perror("ppoll");
                return 1;
            }
            if (iMaster >= 0 && (fds[iMaster].revents & POLLIN)) ReadPc();
            if (iControl >= 0 && (fds[iControl].revents & POLLIN)) ReadCommands(controlFd, controlBuf);
            if (iStdin >= 0 && (fds[iStdin].revents & (POLLIN | POLLHUP))) {
                if (!ReadCommands(0, stdinBuf)) stdinClosed = true;
            }
        }
        Event("EXIT");
        return 0;
    }

private:
    bool Active() const {
        return streaming && masterFd >= 0 && silenceUntil == 0 && hangupUntil == 0 && limit != 0;
    }

    void Log(const char* tag, const std::string& text) {
        if (!log) return;
        std::fprintf(log, "%.1f %s %s\n", NowMs() - t0, tag, text.c_str());
        std::fflush(log);
    }
    void Event(const std::string& text) { Log("EV", text); }

    bool OpenPty() {
        masterFd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (masterFd < 0 || grantpt(masterFd) != 0 || unlockpt(masterFd) != 0) {
            std::perror("posix_openpt");
            return false;
        }
        slavePath = ptsname(masterFd);
        // Holding the slave keeps the pty alive between the PC's openings and lets us make it raw.
        slaveFd = open(slavePath.c_str(), O_RDWR | O_NOCTTY);
        if (slaveFd < 0) { std::perror(slavePath.c_str()); return false; }
        termios t;
        tcgetattr(slaveFd, &t);
        cfmakeraw(&t);
        cfsetispeed(&t, B115200);
        cfsetospeed(&t, B115200);
        tcsetattr(slaveFd, TCSANOW, &t);
        Event("PTY " + slavePath);
        if (!opt.link.empty()) EnsureLink(true);
        return true;
    }

    void ClosePty() {
        if (!opt.link.empty()) {
            char target[512];
            const ssize_t n = readlink(opt.link.c_str(), target, sizeof target - 1);
            if (n > 0 && std::string(target, static_cast<size_t>(n)) == slavePath) unlink(opt.link.c_str());
        }
        if (slaveFd >= 0) close(slaveFd);
        if (masterFd >= 0) close(masterFd);
        slaveFd = masterFd = -1;
        out.clear();
    }

    void EnsureLink(bool announce) {
        char target[512];
        const ssize_t n = readlink(opt.link.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<size_t>(n)) == slavePath) return;
        unlink(opt.link.c_str());
        if (symlink(slavePath.c_str(), opt.link.c_str()) != 0) {
            std::perror(opt.link.c_str());
            return;
        }
        (void)announce;
        Event("LINK " + opt.link + " -> " + slavePath);
    }

    void Produce(double now) {
        const double r = rate > 0 ? std::min(rate, LineLimit(bit)) : LineLimit(bit);
        const double period = 1000.0 / r;
        // After a stall, catch up at most half a second of records.
        if (now - nextDue > 500) nextDue = now - 500;
        while (nextDue <= now && limit != 0) {
            const long long tmEvery = static_cast<long long>(tmEverySeconds * 100);
            if (tmEvery > 0 && seq > 0 && seq % tmEvery == 0 && lastTmSeq != seq) {
                lastTmSeq = seq;
                SendTime();
            }
            int32_t v[3];
            gen.Sample(seq, v);
            AddBursts(v);
            std::string rec = SampleRecordBytes(bit, v[0], v[1], v[2], code);
            if (loseBytes > 0) {
                const size_t n = std::min<size_t>(static_cast<size_t>(loseBytes), rec.size() - 4);
                rec.erase(3, n);
                Log("LOST", std::to_string(seq) + " " + std::to_string(n));
                loseBytes = 0;
            } else {
                char b[80];
                const int32_t mid = MidScale(bit);
                std::snprintf(b, sizeof b, "%llu %d %d %d", static_cast<unsigned long long>(seq),
                              v[0] - mid, v[1] - mid, v[2] - mid);
                Log("S", b);
            }
            Send(rec);
            ++seq;
            if (limit > 0 && --limit == 0) {
                Event("DONE " + std::to_string(seq));
                streaming = false;
                limit = -1;
                break;
            }
            nextDue += period;
        }
    }

    void AddBursts(int32_t v[3]) {
        for (auto b = bursts.begin(); b != bursts.end();) {
            if (seq < b->startSeq) {
                ++b;
                continue;
            }
            const double t = static_cast<double>(seq - b->startSeq) * 0.01;
            const double r = std::floor(static_cast<double>(v[b->axis]) + b->amp * std::sin(6.283185307179586 * 5.0 * t) + 0.5);
            v[b->axis] = static_cast<int32_t>(std::min<double>(std::max(r, 0.0), FullScale(bit)));
            if (seq + 1 - b->startSeq >= b->count) {
                b = bursts.erase(b);
                Event("BURST-END");
            } else {
                ++b;
            }
        }
    }

    void SendTime() {
        const ClockTime t = AddSeconds(clock, static_cast<int64_t>(seq / 100));
        Log("T", TimeLine(t));
        Send(TimeRecordBytes(bit, t));
    }

    void Send(const std::string& bytes) {
        if (masterFd < 0) return;
        Log("TX", Hex(bytes));
        out += bytes;
    }

    void Flush() {
        if (overrunQueue > 0 && slaveFd >= 0 && !out.empty()) {
            int pending = 0;
            ioctl(slaveFd, FIONREAD, &pending);
            const size_t room = pending < overrunQueue ? static_cast<size_t>(overrunQueue - pending) : 0;
            if (out.size() > room) {
                // The PC's queue is full: a real recorder does not wait, the bytes are gone.
                Log("DROP", std::to_string(out.size() - room));
                out.resize(room);
            }
        }
        while (!out.empty() && masterFd >= 0) {
            const ssize_t n = write(masterFd, out.data(), out.size());
            if (n > 0) {
                out.erase(0, static_cast<size_t>(n));
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) break;
            Event(std::string("WRITE-ERROR ") + std::strerror(errno));
            out.clear();
        }
        if (out.size() > (1u << 20)) {
            Event("OVERFLOW " + std::to_string(out.size()));
            out.clear();
        }
    }

    void ReadPc() {
        char buf[512];
        const ssize_t n = read(masterFd, buf, sizeof buf);
        if (n <= 0) return;
        const std::string bytes(buf, static_cast<size_t>(n));
        Log("RX", Hex(bytes));
        std::string reply;
        for (const std::string& c : cmd.Feed(bytes, reply)) {
            Log("CMD", c);
            if (c.rfind("CLOCK ", 0) == 0) {
                // The clock now runs from the commanded time at the current stream position.
                clock = AddSeconds(cmd.clock, -static_cast<int64_t>(seq / 100));
            }
        }
        if (reply.empty()) return;
        if (mute) {
            Log("MUTE", Hex(reply));
        } else if (replyDelay > 0) {
            // A second request while one answer is pending is answered with it.
            delayedReply += reply;
            if (replyDue == 0) replyDue = NowMs() + replyDelay;
        } else {
            SendReply(reply);
        }
    }

    void SendReply(const std::string& reply) {
        Log("REPLY", Hex(reply));
        Send(reply);
    }

    // Reads available command bytes; false at end of input.
    bool ReadCommands(int fd, std::string& buf) {
        char b[512];
        const ssize_t n = read(fd, b, sizeof b);
        if (n == 0) return false;
        if (n < 0) return errno == EAGAIN || errno == EINTR;
        buf.append(b, static_cast<size_t>(n));
        size_t nl;
        while ((nl = buf.find('\n')) != std::string::npos) {
            std::string line = buf.substr(0, nl);
            buf.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) Command(line);
        }
        return true;
    }

    void Command(const std::string& line) {
        Log("CTL", line);
        char word[32] = {0};
        double arg = 0;
        const int got = std::sscanf(line.c_str(), "%31s %lf", word, &arg);
        const std::string w = word;
        if (got < 1) return;
        if (w == "start") {
            streaming = true;
            limit = -1;
            nextDue = NowMs();
            Event("START");
        } else if (w == "stop") {
            streaming = false;
            Event("PAUSE");
        } else if (w == "send" && got == 2) {
            streaming = true;
            limit = static_cast<long long>(arg);
            nextDue = NowMs();
            Event("START " + std::to_string(limit));
        } else if (w == "rate" && got == 2) {
            rate = arg;
        } else if (w == "bit" && got == 2) {
            bit = static_cast<int>(arg) == 16 ? 16 : 12;
            gen = SignalGenerator(bit, opt.axes, opt.seed);
        } else if (w == "lowpass" && got == 2) {
            code = LowPassCode(bit, arg);
        } else if (w == "code") {
            const size_t sp = line.find(' ');
            if (sp != std::string::npos && sp + 1 < line.size()) code = line[sp + 1];
        } else if (w == "tm") {
            SendTime();
        } else if (w == "tm-every" && got == 2) {
            tmEverySeconds = arg;
        } else if (w == "overrun") {
            overrunQueue = got == 2 ? static_cast<int>(arg) : 0;
        } else if (w == "lose" && got == 2) {
            loseBytes = static_cast<int>(arg);
        } else if (w == "garbage" && got == 2) {
            std::string g(static_cast<size_t>(arg), '\0');
            for (char& c : g) {
                garbageRng = garbageRng * 1103515245u + 12345u;
                c = static_cast<char>((garbageRng >> 16) & 0xFF);
                if (c == '\n') c = '#';
            }
            Log("GARBAGE", std::to_string(g.size()));
            Send(g);
        } else if (w == "silence" && got == 2) {
            silenceUntil = NowMs() + arg;
            Event("SILENCE " + std::to_string(static_cast<long>(arg)));
        } else if (w == "hangup" && got == 2) {
            Event("HANGUP " + std::to_string(static_cast<long>(arg)));
            ClosePty();
            hangupUntil = NowMs() + std::max(arg, 1.0);
        } else if (w == "order") {
            const size_t sp = line.find(' ');
            if (sp == std::string::npos || !cmd.SetReplyOrder(line.substr(sp + 1))) Event("BAD " + line);
        } else if (w == "delay" && got == 2) {
            replyDelay = arg;
        } else if (w == "echo" || w == "mute") {
            const bool on = line.find(" on") != std::string::npos;
            (w == "echo" ? cmd.echo : mute) = on;
        } else if (w == "burst") {
            char axis = 0;
            Burst b;
            long long count = 0, delay = 0;
            const int n = std::sscanf(line.c_str(), "%*s %c %lf %lld %lld", &axis, &b.amp, &count, &delay);
            if (n >= 3 && count > 0 && delay >= 0 && (axis == 'x' || axis == 'y' || axis == 'z')) {
                b.axis = axis - 'x';
                b.count = static_cast<uint64_t>(count);
                b.startSeq = seq + static_cast<uint64_t>(delay);
                bursts.push_back(b);
                Event("BURST " + line.substr(6));
            } else {
                Event("UNKNOWN " + line);
            }
        } else if (w == "quit") {
            quit = true;
        } else {
            Event("UNKNOWN " + line);
        }
    }

    const Options& opt;
    SignalGenerator gen;
    CommandInterpreter cmd;
    ClockTime clock;
    int bit;
    double rate;
    char code;
    bool streaming;
    long long limit;       // records left before pausing; -1 = unlimited
    uint64_t seq = 0;      // number of the next sample record
    uint64_t lastTmSeq = ~0ull;
    int loseBytes = 0;
    struct Burst {
        int axis = 0;           // 0 x, 1 y, 2 z
        double amp = 0;         // counts
        uint64_t count = 0;     // sample records it covers
        uint64_t startSeq = 0;  // its first sample record
    };
    std::vector<Burst> bursts;  // commanded bursts not yet finished
    uint32_t garbageRng = 12345;
    double t0, nextDue = 0, silenceUntil = 0, hangupUntil = 0, lastIdleTm = 0;
    double replyDelay = 0, replyDue = 0;  // answers held back, and when the held one goes out
    bool mute = false;
    double tmEverySeconds = 0;  // a time report every so many seconds of stream; 0 none
    int overrunQueue = 0;       // > 0: the PC's receive queue in bytes; what does not fit is dropped
    std::string delayedReply;
    int masterFd = -1, slaveFd = -1, controlFd = -1;
    bool stdinClosed = false, quit = false;
    std::string slavePath, out, controlBuf, stdinBuf;
    FILE* log = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (const int rc = ParseOptions(argc, argv, o)) return rc;
    signal(SIGINT, OnSignal);
    signal(SIGTERM, OnSignal);
    signal(SIGPIPE, SIG_IGN);
    Simulator sim(o);
    return o.sdFile.empty() ? sim.Serve() : sim.WriteSdFile();
}
