// Several radios in one run: a list of jobs (a port each, the file to write or to read into, the
// values that radio gets), each job's progress and result, and cancelling one job or all. The
// engine keeps the books; a runner carries out each job where one radio's fault, hang or pulled
// cable cannot touch another's transfer (the command line and the window run each radio in a
// ktz30cli of its own) and tells the engine what became of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <utility>
#include <vector>

enum class FleetPhase { NotStarted, Reading, Writing, Verifying, Done };
enum class FleetVerified { NotAsked, Yes, No };

struct CFleetJob {
    int number = 0;    // radio 1, 2, ... in the order of the run
    std::string port;  // 1 to 4 (COM1 to COM4) or a device path
    std::string image; // write: the file written to the radio; read: the file read into
    std::string trace; // the serial trace file, or empty
    // The values this radio gets (path as given, value text), as a plan or a count gave them.
    std::vector<std::pair<std::string, std::string>> values;
};

struct CFleetStatus {
    FleetPhase phase = FleetPhase::NotStarted;
    long bytes = 0;
    int percent = 0;
    bool finished = false;
    bool cancelled = false; // a cancel was asked for
    int code = 1;
    std::string text; // "Cloning completed. Verified.", "Err: ...", "not started"
    FleetVerified verified = FleetVerified::NotAsked;
    std::string backup;
    std::string fingerprint;
    std::time_t startTime = 0;
    std::uint64_t startMs = 0, endMs = 0;
    double Seconds() const { return endMs >= startMs ? (endMs - startMs) / 1000.0 : 0.0; }
};

// What carries the jobs out. Start begins job i and returns at once; the runner then reports to
// the engine (Progress, Finished) from its event loop. Cancel asks a running job to stop.
class IFleetRunner {
public:
    virtual ~IFleetRunner() = default;
    virtual void Start(std::size_t job) = 0;
    virtual void Cancel(std::size_t job) = 0;
};

// What a radio's ktz30cli prints for its parent, one line each, beside its usual output.
inline constexpr char kFleetLineTag[] = "@fleet ";
// The environment variable that asks a ktz30cli for those lines.
inline constexpr char kFleetChildEnv[] = "KTZ30_FLEET_CHILD";

class CFleetEngine {
public:
    // verb: "write", "read" or "info".
    CFleetEngine(std::string verb, std::vector<CFleetJob> jobs);

    std::size_t Count() const { return m_jobs.size(); }
    const CFleetJob& Job(std::size_t i) const { return m_jobs[i]; }
    const CFleetStatus& Status(std::size_t i) const { return m_status[i]; }

    // Starts every job.
    void Start(IFleetRunner& runner);
    // Starts job i alone (again, when it ran before: what it came to then is forgotten).
    void StartOne(IFleetRunner& runner, std::size_t i);
    // One more job at the end; returns its index.
    std::size_t Add(CFleetJob job);
    // Forgets the jobs from n on (jobs that never ran).
    void Truncate(std::size_t n);
    // A job that is not running yet, or is never to run: finished as "not started".
    void Skip(std::size_t i, int code = 1, const std::string& text = "not started");
    void Cancel(std::size_t i);
    void CancelAll();

    // From the runner: a line the radio's run printed (its progress, phase and findings are
    // taken from it), and its end (exit code, everything it printed on each stream; failure: it
    // did not end by itself, or did not start).
    void Line(std::size_t i, const std::string& line);
    void Finished(std::size_t i, int code, const std::string& out, const std::string& err,
                  const std::string& failure = {});

    bool AllFinished() const;
    std::size_t Succeeded() const;
    // 0 when every radio succeeded, else the highest result code.
    int ExitStatus() const;

    // Told after every change of job i.
    std::function<void(std::size_t)> onChange;

private:
    void Changed(std::size_t i);

    std::string m_verb;
    std::vector<CFleetJob> m_jobs;
    std::vector<CFleetStatus> m_status;
    IFleetRunner* m_runner = nullptr;
};

// What one radio's run came to, from what it printed: the last status text (" Cloning
// completed.", " Err: ..."), the model and revision of an info, whether a write was verified.
std::string FleetResultText(const std::string& verb, int code, const std::string& out,
                            const std::string& err, const std::string& output);

// "COM1" for "1", the device path as it is.
std::string FleetPortLabel(const std::string& port);
// The short hash that tells one radio from another: eight hex digits from its alignment bytes
// 0x0000 to 0x006F.
std::string RadioFingerprint(const std::uint8_t* image, std::size_t size);
