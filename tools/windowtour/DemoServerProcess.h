#pragma once

#include "platform/Process.h"

#include <string>

namespace ravelo::tour {

/// ravelo-server serving a fresh demo catalogue on 127.0.0.1 for the tour, from the folder the tour
/// runs in, with games sent slowly enough that a download can be photographed; ended when destroyed.
class DemoServerProcess
{
public:
    /// Builds the catalogue into folder and starts serving it; Url() is empty when that failed.
    explicit DemoServerProcess(const std::string& folder);
    ~DemoServerProcess();
    DemoServerProcess(const DemoServerProcess&) = delete;
    DemoServerProcess& operator=(const DemoServerProcess&) = delete;

    const std::string& Url() const { return m_url; }

private:
    Process m_server;
    std::string m_url;
};

} // namespace ravelo::tour
