#include "app/fleet.h"

#include "clone/clone_rs_io_manager.h"
#include "core/platform.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Trimmed(std::string s) {
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(" \r") + 1);
    return s;
}

bool IsCloneResult(int code) {
    switch (code) {
    case kCloneOk:
    case kCloneCancelled:
    case kCloneFailed:
    case kCloneTransferError:
    case kCloneIllegalInfo:
    case kCloneWrongModel:
    case kCloneNoPort:
        return true;
    default:
        return false;
    }
}

std::uint64_t NowMs() { return Platform().clock ? Platform().clock->NowMs() : 0; }

} // namespace

std::string FleetPortLabel(const std::string& port) {
    return port.size() == 1 ? "COM" + port : port;
}

std::string RadioFingerprint(const std::uint8_t* image, std::size_t size) {
    // FNV-1a over the alignment bytes, folded to 32 bits.
    std::uint64_t h = 1469598103934665603ull;
    for (std::size_t a = 0; a <= 0x6F && a < size; ++a)
        h = (h ^ image[a]) * 1099511628211ull;
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>((h >> 32) ^ h));
    return text;
}

std::string FleetResultText(const std::string& verb, int code, const std::string& out,
                            const std::string& err, const std::string& output) {
    std::string status, model, revision;
    bool verified = false;
    for (const std::string& line : Lines(out)) {
        const std::string text = Trimmed(line);
        if (text.rfind("Err:", 0) == 0 || text.rfind(Trimmed(kStrCloneCompleted), 0) == 0 ||
            text.rfind(Trimmed(kStrTerminated), 0) == 0)
            status = text;
        if (line.find("Verified.") != std::string::npos) verified = true;
        if (line.rfind("Model:\t", 0) == 0) model = Trimmed(line.substr(7));
        if (line.rfind("Revision:\t", 0) == 0) revision = Trimmed(line.substr(10));
    }
    if (verb == "info" && code == kCloneOk) return "Model " + model + ", revision " + revision;
    if (status.empty() || !IsCloneResult(code)) {
        for (const std::string& line : Lines(err))
            if (!Trimmed(line).empty()) return Trimmed(line);
        return status.empty() ? "ended with " + std::to_string(code) : status;
    }
    // A port that could not be opened: the system's reason follows its " not Open " line.
    if (status.rfind("Err:", 0) == 0) {
        const std::vector<std::string> said = Lines(err);
        for (std::size_t i = 0; i + 1 < said.size(); ++i)
            if (Trimmed(said[i]) == "not Open" || Trimmed(said[i]) == "invarid setting") {
                if (const std::string reason = Trimmed(said[i + 1]); !reason.empty())
                    status += " " + reason;
                break;
            }
    }
    if (verb == "write" && code == kCloneOk && status.find("Verified") == std::string::npos)
        status += verified ? " Verified." : " (not verified)";
    if (verb == "read" && code == kCloneOk) status += " Saved to " + output + ".";
    return status;
}

CFleetEngine::CFleetEngine(std::string verb, std::vector<CFleetJob> jobs)
    : m_verb(std::move(verb)), m_jobs(std::move(jobs)), m_status(m_jobs.size()) {}

void CFleetEngine::Changed(std::size_t i) {
    if (onChange) onChange(i);
}

void CFleetEngine::Start(IFleetRunner& runner) {
    for (std::size_t i = 0; i < m_jobs.size(); ++i)
        if (!m_status[i].finished) StartOne(runner, i);
}

void CFleetEngine::StartOne(IFleetRunner& runner, std::size_t i) {
    m_runner = &runner;
    CFleetStatus& s = m_status[i];
    s = {};
    s.startTime = std::time(nullptr);
    s.startMs = NowMs();
    s.phase = m_verb == "write" ? FleetPhase::Writing : FleetPhase::Reading;
    runner.Start(i);
    Changed(i);
}

std::size_t CFleetEngine::Add(CFleetJob job) {
    m_jobs.push_back(std::move(job));
    m_status.emplace_back();
    return m_jobs.size() - 1;
}

void CFleetEngine::Skip(std::size_t i, int code, const std::string& text) {
    CFleetStatus& s = m_status[i];
    if (s.finished) return;
    s.finished = true;
    s.phase = FleetPhase::Done;
    s.code = code;
    s.text = text;
    Changed(i);
}

void CFleetEngine::Cancel(std::size_t i) {
    CFleetStatus& s = m_status[i];
    if (s.finished || s.cancelled) return;
    s.cancelled = true;
    if (s.phase == FleetPhase::NotStarted || !m_runner)
        Skip(i, kCloneCancelled, "not started");
    else
        m_runner->Cancel(i);
}

void CFleetEngine::CancelAll() {
    for (std::size_t i = 0; i < m_jobs.size(); ++i)
        Cancel(i);
}

void CFleetEngine::Line(std::size_t i, const std::string& line) {
    CFleetStatus& s = m_status[i];
    if (!s.finished && line.find(kStrVerifying + 1) != std::string::npos)
        s.phase = FleetPhase::Verifying;
    const std::string tag = kFleetLineTag;
    if (line.rfind(tag, 0) != 0) return Changed(i);
    std::istringstream in(line.substr(tag.size()));
    std::string key, value;
    in >> key;
    std::getline(in >> std::ws, value);
    value = Trimmed(value);
    // What a run found stays noted after its end; its progress does not.
    if (key == "progress" && !s.finished) {
        s.percent = std::clamp(std::atoi(value.c_str()), 0, 100);
        s.bytes = s.percent * 2048L / 100;
    } else if (key == "backup")
        s.backup = value;
    else if (key == "verified")
        s.verified = value == "yes" ? FleetVerified::Yes : FleetVerified::No;
    else if (key == "fingerprint")
        s.fingerprint = value;
    Changed(i);
}

void CFleetEngine::Truncate(std::size_t n) {
    if (n >= m_jobs.size()) return;
    m_jobs.resize(n);
    m_status.resize(n);
}

void CFleetEngine::Finished(std::size_t i, int code, const std::string& out, const std::string& err,
                            const std::string& failure) {
    CFleetStatus& s = m_status[i];
    if (s.finished) return;
    for (const std::string& line : Lines(out))
        if (line.rfind(kFleetLineTag, 0) == 0) Line(i, line);
    s.finished = true;
    s.endMs = NowMs();
    s.phase = FleetPhase::Done;
    s.code = failure.empty() ? code : kCloneFailed;
    s.text = failure.empty() ? FleetResultText(m_verb, code, out, err, m_jobs[i].image) : failure;
    if (m_verb == "write" && s.verified == FleetVerified::NotAsked &&
        out.find(kStrVerifying + 1) != std::string::npos)
        s.verified = FleetVerified::No;
    if (s.code == kCloneOk) s.percent = 100;
    Changed(i);
}

bool CFleetEngine::AllFinished() const {
    return std::all_of(m_status.begin(), m_status.end(),
                       [](const CFleetStatus& s) { return s.finished; });
}

std::size_t CFleetEngine::Succeeded() const {
    return static_cast<std::size_t>(
        std::count_if(m_status.begin(), m_status.end(),
                      [](const CFleetStatus& s) { return s.finished && s.code == kCloneOk; }));
}

int CFleetEngine::ExitStatus() const {
    int status = 0;
    for (const CFleetStatus& s : m_status)
        status = std::max(status, s.code);
    return status;
}
