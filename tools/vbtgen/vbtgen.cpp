// vbtgen - synthetic measurement generator for Torzalen.
//
// Simulates the two-disc torque meter on a rotating shaft and writes a VBT
// download file, the same format the instrument produces.  For every slot
// passage the instrument stores two counter values, counted in Fmux periods
// of its fast clock:
//   Cislot  counts between two consecutive slot passages (slot period)
//   Cslot   counts across the torque pulse between the two discs
//
// The shaft follows a base motion (steady, a slow drift, a run-up, or a stop
// and reversal), carries torsional vibration at a few orders of rotation, and
// its torque has an oscillating part.  The slot edges are found in time from
// the shaft angle, so long slot periods near standstill and the slot period
// that spans a reversal come out as the counter sees them.
//
// Counters are quantised and get a little Gaussian jitter.  Now and then the
// counter misses a slot edge (two slot periods add up in one Cislot) or sees
// an edge twice (comparator chatter right after the edge: one very short
// Cislot, the next one short by as much).  Either fault makes one isolated
// outlier line, which the analysis' spike filter replaces.  When the shaft
// reverses, it rings near standstill: the torque pulses of a couple of
// passages show the wrong sign, a short false reversal that the analysis'
// zero-crossing filter takes out.
//
// Everything is driven by a seeded PRNG, so the same options always give the
// same file byte for byte.

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPiApprox = 3.1415;  // the analysis program uses this value
constexpr double kInf = std::numeric_limits<double>::infinity();

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

// Counter faults are kept this many lines apart (and away from both ends of
// the file), so each one stays an isolated outlier.
constexpr long kGlitchGap = 8;
// A doubled edge follows the real one after this fraction of the slot period.
constexpr double kChatterMin = 0.003, kChatterSpan = 0.012;
// Reversal: below this fraction of the nominal speed the shaft may ring.  A
// ring starts at a passage with probability kRingRate and turns the torque
// pulse of kRingLength passages the wrong way; the next one starts no
// sooner than kRingGap passages after it.  Two passages, because the
// analysis averages Cslot over three lines: a single wrong pulse would be
// averaged away before the sense of rotation is judged.
constexpr double kRingSpeed = 0.1, kRingRate = 0.1;
constexpr long kRingLength = 2, kRingGap = 8;

enum class Motion { Steady, RunUp, Reverse };

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
    Motion motion = Motion::Steady;
    double runUpFrom = 0.0;  // rpm, for Motion::RunUp
    double rampTime = -1.0;  // s; below 0: derived from the number of samples
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

// Base motion of the shaft: pieces of constant angular acceleration, each
// starting where the one before ends.  Angles in rad, speeds in rad/s.
class BaseMotion {
public:
    void add(double t0, double w0, double accel) {
        double th0 = pieces_.empty() ? 0.0 : angle(t0);
        pieces_.push_back({t0, w0, accel, th0});
    }
    double angle(double t) const {
        const Piece& p = at(t);
        double tau = t - p.t0;
        return p.th0 + (p.w0 + 0.5 * p.accel * tau) * tau;
    }
    double speed(double t) const {
        const Piece& p = at(t);
        return p.w0 + p.accel * (t - p.t0);
    }

private:
    struct Piece { double t0, w0, accel, th0; };
    const Piece& at(double t) const {
        std::size_t i = pieces_.size() - 1;
        while (i > 0 && t < pieces_[i].t0) --i;
        return pieces_[i];
    }
    std::vector<Piece> pieces_;
};

// One slot passage as the counters see it, before quantisation.
struct Passage { double cislot, cslot; };

class Shaft {
public:
    explicit Shaft(const Options& o) : o_(o) {
        step_ = 2.0 * kPi / double(o.nslot);
        // Stiffness constant exactly as the analysis computes it.
        double r4 = std::pow(kRext, 4) - std::pow(kRint, 4);
        k_ = (r4 * kPiApprox * kPiApprox * kShearG) / (kLength * double(o.nslot) * 1000.0);
        for (const Harmonic& h : kSpeedHarm) edgeOffset_ += h.amp / h.order * std::cos(h.phase);
        wNominal_ = o.rpm * (2.0 * kPi / 60.0);
    }

    // Sets up the base motion; returns an error text, empty when all is well.
    std::string plan() {
        const double w = wNominal_;
        const double passes = double(o_.samples) * step_;  // shaft angle of the whole file
        switch (o_.motion) {
        case Motion::Steady:
            if (o_.drift == 0.0) {
                motion_.add(0.0, w, 0.0);
            } else {
                // Uniform speed change over the nominal length of the file.
                double w1 = w * (1.0 + o_.drift);
                double t = passes / (0.5 * (w + w1));
                motion_.add(0.0, w, (w1 - w) / t);
                motion_.add(t, w1, 0.0);
            }
            break;
        case Motion::RunUp: {
            double w0 = o_.runUpFrom * (2.0 * kPi / 60.0);
            double t = o_.rampTime >= 0.0 ? o_.rampTime : passes / (0.5 * (w0 + w));
            if (t > 0.0 && w0 != w) {
                motion_.add(0.0, w0, (w - w0) / t);
                motion_.add(t, w, 0.0);
            } else {
                motion_.add(0.0, w, 0.0);
            }
            break;
        }
        case Motion::Reverse: {
            // Steady, uniform slow-down to standstill, uniform speed-up in the
            // other sense, steady again; the turnaround falls in the middle of
            // the file.  By default each ramp takes an eighth of the samples.
            double ramp = o_.rampTime >= 0.0 ? o_.rampTime : 2.0 * (passes / 8.0) / w;
            double t1 = 0.5 * passes / w - 0.5 * ramp;
            if (!(ramp > 0.0)) return "--ramp-time must be above 0 for a reversal";
            if (t1 < 0.0)
                return "--ramp-time too long for " + std::to_string(o_.samples) +
                       " samples; at most " + brief(passes / w) + " s";
            motion_.add(0.0, w, 0.0);
            motion_.add(t1, w, -w / ramp);
            motion_.add(t1 + 2.0 * ramp, -w, 0.0);
            turnaround_ = t1 + ramp;
            break;
        }
        }
        return {};
    }

    // The next slot passage.
    Passage next(Rng& rng) {
        const double tStart = t_, edgeStart = edge(j_);
        const int sense = dir_;
        if (dir_ > 0) {
            double target = edge(j_ + 1);
            bool reverses = t_ < turnaround_;
            if (reverses && motion_.angle(turnaround_) < target) {
                // The shaft stops short of the next edge and turns back: the
                // edge just passed comes by again from the other side.
                dir_ = -1;
                t_ = crossing(edge(j_), -1, turnaround_);
            } else {
                t_ = crossing(target, +1, t_, reverses ? turnaround_ : kInf);
                ++j_;
            }
        } else {
            t_ = crossing(edge(j_ - 1), -1, t_);
            --j_;
        }
        const double cis = (t_ - tStart) / (o_.fmux * 1e-6);

        // The torque pulse belongs to the edge that starts the passage.  The
        // torque drives the shaft in its sense of rotation; near standstill
        // in a reversal the shaft rings and the pulse may show the wrong sign.
        double twistSign = double(sense);
        ++sinceRing_;
        if (ringLeft_ == 0 && o_.motion == Motion::Reverse && sinceRing_ >= kRingGap
            && std::fabs(motion_.speed(tStart)) < kRingSpeed * wNominal_ && rng.uniform() < kRingRate) {
            ringLeft_ = kRingLength;
            sinceRing_ = 0;
        }
        if (ringLeft_ > 0) {
            twistSign = -twistSign;
            --ringLeft_;
        }
        double mid = 0.5 * (edgeStart + edge(j_));
        double trq = twistSign * o_.torque * modulation(kTorqueHarm, 2, mid);

        // The analysis derives speed from Cislot, so invert with that mean speed.
        const double n = double(o_.nslot);
        double rpm = ((21600.0 / n) / ((o_.fmux * cis) * 360.0)) * 1000000.0;
        double trq0 = ((kPercSlot * kSlotAngle * n * 0.002777777777777778) / (n * rpm)) * 60.0
                      / o_.fmux * 1000000.0;
        double dtrq = trq / (n * rpm * o_.fmux * 1.6666666666666667e-8 * k_);
        return {cis, trq0 + dtrq};
    }

private:
    static std::string brief(double v) {
        char tmp[64];
        std::snprintf(tmp, sizeof tmp, "%.3g", v);
        return tmp;
    }

    // Base angle at which edge j passes the sensor.  The torsional vibration
    // makes the shaft angle base + sum(-amp/order * cos(order * base + phase)),
    // whose rate is the base speed times the speed modulation; Newton's
    // method inverts it (the derivative stays within 1 +- 1.5 %).
    double edge(long j) const {
        const double target = double(j) * step_;
        double x = target;
        for (int it = 0; it < 20; ++it) {
            double g = x + edgeOffset_, dg = 1.0;
            for (const Harmonic& h : kSpeedHarm) {
                g -= h.amp / h.order * std::cos(h.order * x + h.phase);
                dg += h.amp * std::sin(h.order * x + h.phase);
            }
            double dx = (g - target) / dg;
            x -= dx;
            if (std::fabs(dx) <= 1e-15 * (1.0 + std::fabs(x))) break;
        }
        return x;
    }

    // First time after lo, up to limit, at which the base angle reaches
    // target moving in sense dir; the motion is monotone over that span.
    double crossing(double target, int dir, double lo, double limit = kInf) const {
        auto before = [&](double t) { return dir * (motion_.angle(t) - target) < 0.0; };
        double w = std::fabs(motion_.speed(lo));
        double span = w > 0.0 ? std::fmin(2.0 * step_ / w, 1.0) : 1e-3;
        double hi = lo + span;
        while (hi < limit && before(hi)) {
            span *= 2.0;
            hi = lo + span;
        }
        if (hi > limit) hi = limit;
        for (;;) {
            double mid = lo + 0.5 * (hi - lo);
            if (mid <= lo || mid >= hi) break;
            if (before(mid)) lo = mid;
            else hi = mid;
        }
        return hi;
    }

    const Options& o_;
    BaseMotion motion_;
    double step_ = 0.0, k_ = 0.0, edgeOffset_ = 0.0, wNominal_ = 0.0;
    double turnaround_ = -kInf;  // time of the reversal, if any
    double t_ = 0.0;             // time of the last edge
    long j_ = 0;                 // index of the last edge
    int dir_ = 1;                // sense of rotation
    long sinceRing_ = kRingGap;  // passages since the last ring started
    long ringLeft_ = 0;          // passages of the current ring still to come
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
        "Writes a simulated VBT measurement. The same options always give the same file.\n"
        "\n"
        "  -o, --output FILE   output file (default: stdout)\n"
        "  --samples N         number of sample lines (default 40000)\n"
        "  --rpm X             shaft speed in rpm (default 3000); the end speed of a run-up,\n"
        "                      the speed in both senses of a reversal\n"
        "  --torque X          mean torque in N*m, > 0 (default 200); it drives the shaft in\n"
        "                      its sense of rotation\n"
        "  --seed N            random seed (default 1)\n"
        "  --noise X           counter jitter, standard deviation in counts (default 0.5)\n"
        "  --glitch-rate X     probability per slot of a missed or doubled edge (default 0.0002);\n"
        "                      faults stay at least 8 lines apart, each one a single outlier line\n"
        "  --nslot N           slots per disc (default 60)\n"
        "  --fmux X            counter clock period in microseconds (default 0.05)\n"
        "  --drift X           relative speed change from start to end, uniform in time\n"
        "                      (default 0)\n"
        "  --run-up FROM       run-up: the speed rises uniformly in time from FROM rpm (0 is\n"
        "                      standstill) to --rpm, over the whole file or over --ramp-time\n"
        "  --reverse           stop and reverse: steady at --rpm, uniform slow-down to\n"
        "                      standstill, uniform speed-up to --rpm in the other sense, steady\n"
        "                      again; the turnaround is in the middle of the file. Below 10 %\n"
        "                      of --rpm the shaft rings now and then: the torque pulses of two\n"
        "                      passages show the wrong sign (short false reversals)\n"
        "  --ramp-time S       seconds of the run-up, or of each ramp of a reversal (default:\n"
        "                      the whole file for a run-up, an eighth of the samples per ramp\n"
        "                      for a reversal)\n"
        "  --lf                bare LF line ends instead of CR LF\n"
        "  -h, --help          show this text\n"
        "\n"
        "samples/demo.VBT is this program's output with the default options.\n"
        "Header: RPMmax is twice the highest nominal speed, so the analysis' default RPM\n"
        "threshold (40 % of RPMmax) is 80 % of it. --drift, --run-up and --reverse exclude\n"
        "each other.\n",
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
    bool reverse = false, runUp = false, driftGiven = false;
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
        if (name == "--lf" || name == "--reverse") {
            if (inlineValue) fail("option " + name + " takes no value");
            if (name == "--lf") o.lf = true;
            else reverse = true;
            continue;
        }
        static const char* const withValue[] = {"-o", "--output", "--samples", "--rpm", "--torque", "--seed",
                                                "--noise", "--glitch-rate", "--nslot", "--fmux", "--drift",
                                                "--run-up", "--ramp-time"};
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
        else if (name == "--drift") { o.drift = parseReal(name, value, -0.9, 100.0); driftGiven = true; }
        else if (name == "--run-up") { o.runUpFrom = parseReal(name, value, 0.0, 1e6); runUp = true; }
        else if (name == "--ramp-time") o.rampTime = parseReal(name, value, 0.0, 1e6);
    }
    if (int(reverse) + int(runUp) + int(driftGiven) > 1)
        fail("--drift, --run-up and --reverse exclude each other");
    if (o.rampTime >= 0.0 && !reverse && !runUp) fail("--ramp-time needs --run-up or --reverse");
    if (reverse) o.motion = Motion::Reverse;
    if (runUp) o.motion = Motion::RunUp;
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parseArgs(argc, argv);

    Shaft shaft(o);
    const std::string planError = shaft.plan();
    if (!planError.empty()) fail(planError);

    std::FILE* f = stdout;
    if (!o.output.empty() && !(f = std::fopen(o.output.c_str(), "wb"))) {
        std::fprintf(stderr, "vbtgen: cannot create '%s': %s\n", o.output.c_str(), std::strerror(errno));
        return 1;
    }

    double rpmMax = o.rpm;
    if (o.motion == Motion::RunUp && o.runUpFrom > rpmMax) rpmMax = o.runUpFrom;

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
    w.line("RPMmax=" + num(2.0 * rpmMax) + "rpm");
    w.line("PCoeff=1");
    w.line("PDist=0");
    w.line("Cislot,Cslot");

    Rng rng{o.seed};
    long lastGlitch = -kGlitchGap;  // line of the last counter fault
    for (long lines = 0; lines < o.samples;) {
        double u = rng.uniform();
        bool mayGlitch = lines >= kGlitchGap && lines - lastGlitch >= kGlitchGap
                         && o.samples - lines > kGlitchGap;
        if (mayGlitch && u <= o.glitchRate * 0.5) {
            // Missed edge: two slot periods end up in one Cislot; the torque
            // pulse is the one of the second slot.
            Passage a = shaft.next(rng), b = shaft.next(rng);
            std::uint32_t cis = quantise(a.cislot + b.cislot, o.noise, rng);
            w.counters(cis, quantise(b.cslot, o.noise, rng));
            lastGlitch = lines++;
        } else if (mayGlitch && u <= o.glitchRate) {
            // Doubled edge: the comparator chatters right after the edge.  The
            // spurious line is very short, with its torque count cut short
            // too; the next line ends at the real edge, so it is short by as
            // much, and carries the real torque pulse.
            Passage a = shaft.next(rng);
            double chatter = (kChatterMin + kChatterSpan * rng.uniform()) * a.cislot;
            w.counters(quantise(chatter, o.noise, rng), quantise(0.5 * chatter, o.noise, rng));
            w.counters(quantise(a.cislot - chatter, o.noise, rng), quantise(a.cslot, o.noise, rng));
            lastGlitch = lines;
            lines += 2;
        } else {
            Passage a = shaft.next(rng);
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
