// vbtgen - synthetic measurement generator for Torzalen.
//
// Simulates the two-disc torque meter on a rotating shaft and writes a VBT
// download file, the same format the instrument produces.  For every slot
// passage the instrument stores two counter values, counted in Fmux periods
// of its fast clock:
//   Cislot  counts between two consecutive slot passages (slot period)
//   Cslot   counts across the torque pulse between the two discs
//
// The shaft speed carries torsional vibration at a few orders of rotation
// and the torque has an oscillating part.  Counters are quantised, get a
// little Gaussian jitter, and now and then a slot edge is missed or doubled,
// just like on the real rig.  Everything is driven by a seeded PRNG, so the
// same options always give the same file byte for byte.

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPiApprox = 3.1415;  // the analysis program uses this value

// Fixed rig geometry written into the header.
constexpr double kRext = 15.0;     // mm
constexpr double kRint = 0.0;      // mm
constexpr double kLength = 100.0;  // mm
constexpr double kShearG = 80000.0;  // N/sqmm
constexpr double kSlotAngle = 3.0;   // A_SLOT, degrees
constexpr double kPercSlot = 0.5;

// Torsional vibration of the speed: order, relative amplitude, phase.
// Worst-case sum of the amplitudes stays below 1.5 %.
struct Harmonic { double order, amp, phase; };
constexpr Harmonic kSpeedHarm[] = {{2, 0.009, 0.3}, {4, 0.004, 1.1}, {6, 0.0015, 2.0}};
// Oscillating part of the torque; minimum stays at 60 % of the mean.
constexpr Harmonic kTorqueHarm[] = {{2, 0.30, 0.0}, {4, 0.10, 0.7}};

struct Options {
    std::string output;  // empty = stdout
    long samples = 40000;
    double rpm = 3000.0;
    double torque = 200.0;
    std::uint64_t seed = 1;
    double noise = 0.5;
    double glitchRate = 0.0002;
    long nslot = 60;
    double fmux = 0.05;
    double drift = 0.0;
    bool lf = false;
};

// splitmix64: small, fast and identical on every platform.
struct Rng {
    std::uint64_t s;
    bool haveSpare = false;
    double spare = 0.0;
    std::uint64_t next() {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in (0, 1]; never zero so log() below is safe.
    double uniform() { return (double(next() >> 11) + 1.0) * (1.0 / 9007199254740992.0); }
    // Standard normal by Box-Muller, second value kept for the next call.
    double gauss() {
        if (haveSpare) { haveSpare = false; return spare; }
        double r = std::sqrt(-2.0 * std::log(uniform()));
        double a = 2.0 * kPi * uniform();
        spare = r * std::sin(a);
        haveSpare = true;
        return r * std::cos(a);
    }
};

double modulation(const Harmonic* h, int n, double theta) {
    double m = 1.0;
    for (int i = 0; i < n; ++i) m += h[i].amp * std::sin(h[i].order * theta + h[i].phase);
    return m;
}

// Noise-free counter values of one slot passage.
struct Slot { double cislot, cslot; };

class Shaft {
public:
    explicit Shaft(const Options& o) : o_(o) {
        step_ = 2.0 * kPi / double(o.nslot);
        // Stiffness constant exactly as the analysis computes it.
        double r4 = std::pow(kRext, 4) - std::pow(kRint, 4);
        k_ = (r4 * kPiApprox * kPiApprox * kShearG) / (kLength * double(o.nslot) * 1000.0);
    }

    // Slot k covers the shaft angle from k*step to (k+1)*step.
    Slot slot(long k) const {
        const double n = double(o_.nslot);
        double progress = (double(k) + 0.5) / double(o_.samples);
        double base = o_.rpm * (1.0 + o_.drift * progress);
        // Slot time = integral of dtheta / omega, Simpson over 4 sub-steps.
        double t0 = double(k) * step_, h = step_ / 4.0, sum = 0.0;
        for (int i = 0; i <= 4; ++i) {
            double w = (i == 0 || i == 4) ? 1.0 : (i % 2 ? 4.0 : 2.0);
            double omega = base * modulation(kSpeedHarm, 3, t0 + i * h) * (2.0 * kPi / 60.0);
            sum += w / omega;
        }
        double dt = sum * h / 3.0;  // seconds
        double cis = dt / (o_.fmux * 1e-6);

        // The analysis derives speed from Cislot, so invert with that mean speed.
        double rpm = ((21600.0 / n) / ((o_.fmux * cis) * 360.0)) * 1000000.0;
        double trq = o_.torque * modulation(kTorqueHarm, 2, t0 + 2.0 * h);
        double trq0 = ((kPercSlot * kSlotAngle * n * 0.002777777777777778) / (n * rpm)) * 60.0
                      / o_.fmux * 1000000.0;
        double dtrq = trq / (n * rpm * o_.fmux * 1.6666666666666667e-8 * k_);
        return {cis, trq0 + dtrq};
    }

private:
    const Options& o_;
    double step_ = 0.0, k_ = 0.0;
};

// Buffered writer: lines are assembled in memory and written in large blocks.
class Writer {
public:
    Writer(std::FILE* f, bool lf) : f_(f), eol_(lf ? "\n" : "\r\n") { buf_.reserve(kBlock + 256); }
    void line(std::string_view s) { buf_ += s; buf_ += eol_; flushIfFull(); }
    void counters(std::uint32_t a, std::uint32_t b) {
        char tmp[32];
        char* p = std::to_chars(tmp, tmp + 12, a).ptr;
        *p++ = ',';
        p = std::to_chars(p, tmp + 24, b).ptr;
        buf_.append(tmp, p);
        buf_ += eol_;
        flushIfFull();
    }
    bool finish() { flush(); return ok_; }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    void flushIfFull() { if (buf_.size() >= kBlock) flush(); }
    void flush() {
        if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size()) ok_ = false;
        buf_.clear();
    }
    std::FILE* f_;
    const char* eol_;
    std::string buf_;
    bool ok_ = true;
};

// Shortest text that reads back to the same double, no exponent.
std::string num(double v) {
    char tmp[512];
    auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::fixed);
    return std::string(tmp, r.ptr);
}

// Jittered, rounded counter value clamped to the 32-bit counter range.
std::uint32_t quantise(double v, double noise, Rng& rng) {
    if (noise > 0.0) v += noise * rng.gauss();
    v = std::nearbyint(v);
    if (v < 0.0) v = 0.0;
    if (v > 4294967295.0) v = 4294967295.0;
    return std::uint32_t(v);
}

void usage(std::FILE* f) {
    std::fputs(
        "usage: vbtgen [options]\n"
        "  -o, --output FILE   output file (default: stdout)\n"
        "  --samples N         number of sample lines (default 40000)\n"
        "  --rpm X             mean shaft speed in rpm (default 3000)\n"
        "  --torque X          mean torque in N*m, > 0 (default 200)\n"
        "  --seed N            random seed (default 1)\n"
        "  --noise X           counter jitter, standard deviation in counts (default 0.5)\n"
        "  --glitch-rate X     probability per slot of a missed or doubled edge (default 0.0002)\n"
        "  --nslot N           slots per disc (default 60)\n"
        "  --fmux X            counter clock period in microseconds (default 0.05)\n"
        "  --drift X           relative speed change from start to end (default 0)\n"
        "  --lf                bare LF line ends instead of CR LF\n"
        "  -h, --help          show this text\n",
        f);
}

[[noreturn]] void fail(const std::string& msg) {
    std::fprintf(stderr, "vbtgen: %s\n", msg.c_str());
    usage(stderr);
    std::exit(2);
}

double parseReal(const std::string& name, const std::string& s, double lo, double hi) {
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end != '\0' || !std::isfinite(v) || v < lo || v > hi)
        fail("bad value for " + name + ": '" + s + "'");
    return v;
}

std::uint64_t parseUInt(const std::string& name, const std::string& s, std::uint64_t lo, std::uint64_t hi) {
    std::uint64_t v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() || v < lo || v > hi)
        fail("bad value for " + name + ": '" + s + "'");
    return v;
}

Options parseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i], name = arg, value;
        bool inlineValue = false;
        if (arg.rfind("--", 0) == 0) {
            auto eq = arg.find('=');
            if (eq != std::string::npos) { name = arg.substr(0, eq); value = arg.substr(eq + 1); inlineValue = true; }
        }
        if (name == "-h" || name == "--help") {
            if (inlineValue) fail("option " + name + " takes no value");
            usage(stdout);
            std::exit(0);
        }
        if (name == "--lf") {
            if (inlineValue) fail("option --lf takes no value");
            o.lf = true;
            continue;
        }
        static const char* const withValue[] = {"-o", "--output", "--samples", "--rpm", "--torque", "--seed",
                                                "--noise", "--glitch-rate", "--nslot", "--fmux", "--drift"};
        bool known = false;
        for (const char* w : withValue) known = known || name == w;
        if (!known) fail("unknown option '" + arg + "'");
        if (!inlineValue) {
            if (i + 1 >= argc) fail("option " + name + " needs a value");
            value = argv[++i];
        }
        if (name == "-o" || name == "--output") {
            if (value.empty()) fail("empty output file name");
            o.output = value;
        }
        else if (name == "--samples") o.samples = long(parseUInt(name, value, 1, 100000000));
        else if (name == "--rpm") o.rpm = parseReal(name, value, 1e-3, 1e6);
        else if (name == "--torque") o.torque = parseReal(name, value, 1e-6, 1e9);
        else if (name == "--seed") o.seed = parseUInt(name, value, 0, UINT64_MAX);
        else if (name == "--noise") o.noise = parseReal(name, value, 0.0, 1e6);
        else if (name == "--glitch-rate") o.glitchRate = parseReal(name, value, 0.0, 1.0);
        else if (name == "--nslot") o.nslot = long(parseUInt(name, value, 1, 3600));
        else if (name == "--fmux") o.fmux = parseReal(name, value, 1e-6, 1e6);
        else if (name == "--drift") o.drift = parseReal(name, value, -0.9, 100.0);
    }
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parseArgs(argc, argv);

    std::FILE* f = stdout;
    if (!o.output.empty() && !(f = std::fopen(o.output.c_str(), "wb"))) {
        std::fprintf(stderr, "vbtgen: cannot create '%s': %s\n", o.output.c_str(), std::strerror(errno));
        return 1;
    }

    Writer w(f, o.lf);
    // Header. The date and time are fixed so the output stays reproducible.
    w.line("Download of sampled vibrotorsional data from VRX7731");
    w.line("08/12/2026");
    w.line("14:32:05");
    w.line("Fmux=" + num(o.fmux) + "uS");
    w.line("G=" + num(kShearG) + "N/sqmm");
    w.line("Rext=" + num(kRext) + "mm");
    w.line("Rint=" + num(kRint) + "mm");
    w.line("L=" + num(kLength) + "mm");
    w.line("N_SLOT=" + std::to_string(o.nslot));
    w.line("A_SLOT=" + num(kSlotAngle));
    w.line("Perc_Slot=" + num(kPercSlot));
    w.line("RPMmax=" + num(2.0 * o.rpm) + "rpm");
    w.line("PCoeff=1");
    w.line("PDist=0");
    w.line("Cislot,Cslot");

    Shaft shaft(o);
    Rng rng{o.seed};
    long k = 0;  // next slot passage on the shaft
    for (long lines = 0; lines < o.samples;) {
        double u = rng.uniform();
        if (u <= o.glitchRate * 0.5) {
            // Missed edge: two slot periods end up in one Cislot.
            Slot a = shaft.slot(k), b = shaft.slot(k + 1);
            k += 2;
            std::uint32_t cis = quantise(a.cislot + b.cislot, o.noise, rng);
            w.counters(cis, quantise(b.cslot, o.noise, rng));
            ++lines;
        } else if (u <= o.glitchRate) {
            // Doubled edge: a spurious edge splits one slot period in two;
            // the torque counter of the spurious line is cut short as well.
            Slot a = shaft.slot(k++);
            double frac = 0.25 + 0.5 * rng.uniform();
            std::uint32_t cis1 = quantise(frac * a.cislot, o.noise, rng);
            w.counters(cis1, quantise(frac * a.cslot, o.noise, rng));
            if (++lines < o.samples) {
                std::uint32_t cis2 = quantise((1.0 - frac) * a.cislot, o.noise, rng);
                w.counters(cis2, quantise(a.cslot, o.noise, rng));
                ++lines;
            }
        } else {
            Slot a = shaft.slot(k++);
            std::uint32_t cis = quantise(a.cislot, o.noise, rng);
            w.counters(cis, quantise(a.cslot, o.noise, rng));
            ++lines;
        }
    }

    bool ok = w.finish();
    if (f != stdout) ok = (std::fclose(f) == 0) && ok;
    else ok = (std::fflush(f) == 0) && ok;
    if (!ok) {
        std::fprintf(stderr, "vbtgen: write error\n");
        return 1;
    }
    return 0;
}
