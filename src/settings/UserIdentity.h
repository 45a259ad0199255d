#pragma once

#include "settings/AppPaths.h"

#include <string>

namespace ravelo {

/// The "User" section of the settings file: the identity the catalogue service issued.
struct UserIdentity
{
    std::string Uid;
    std::string Ticket; // stored already percent-encoded

    explicit UserIdentity(const std::string& file = SettingsFilePath);

    void Load();
    void Save() const;

    /// Both values present; a Uid without a Ticket counts as unregistered.
    bool IsRegistered() const { return !Uid.empty() && !Ticket.empty(); }

private:
    std::string m_file;
};

} // namespace ravelo
