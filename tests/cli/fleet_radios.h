// Simulated radios on pseudo-terminals for the several-radios tests, with --port for each.
#pragma once

#include "tests/cli/cli_fixture.h"

#include <memory>
#include <string>
#include <vector>

struct CRadios {
    std::vector<std::unique_ptr<CSim>> sims;
    std::vector<std::string> ports;
    explicit CRadios(const std::vector<QStringList>& options) {
        for (const QStringList& o : options) {
            sims.push_back(std::make_unique<CSim>(o));
            ports.insert(ports.end(), {"--port", sims.back()->Path()});
        }
    }
    std::string Path(std::size_t i) const { return sims[i]->Path(); }
};

// head, then the ports, then tail.
inline std::vector<std::string> Args(std::vector<std::string> head,
                                     const std::vector<std::string>& ports,
                                     std::vector<std::string> tail = {}) {
    head.insert(head.end(), ports.begin(), ports.end());
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}
