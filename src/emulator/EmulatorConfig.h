#pragma once

#include "emulator/InputKind.h"
#include "store/EmulatorInfo.h"

#include <optional>
#include <string>

namespace ravelo {

/// Keeps one copy of an emulator's key and settings files per input kind in a user folder inside the
/// emulator folder: puts them in place before the emulator starts and takes them back after it ends,
/// so that the user's changes survive updates and differ between gamepad and keyboard play.
/// Every path comes out inside the emulator folder (or the documents folder for "$" names): names
/// from the server that are absolute or climb with ".." are skipped.
class EmulatorConfig
{
public:
    /// Any thread. emulatorFolder is the emulator's folder (with or without trailing '/');
    /// documentsFolder replaces "$" in file names.
    EmulatorConfig(std::string emulatorFolder, std::string documentsFolder = DocumentsFolder());

    /// Launch or stand-alone thread. When the user folder of kind holds no bytes, copies the
    /// package's default folder of that kind into it. Other kinds, or a missing default folder: nothing.
    void PrepareUserFolder(const EmulatorInfo& record, int kind) const;
    /// Launch or stand-alone thread, before the emulator starts. Copies the user's files of kind over
    /// the emulator's; a copy that fails (missing source or folder) is skipped. gamePath may be empty.
    void ApplyConfig(const EmulatorInfo& record, const std::string& gamePath, int kind) const;
    /// Launch or stand-alone thread, after the emulator ended. Creates the user folder of kind and
    /// copies the emulator's files back into it; failing copies are skipped.
    void SaveConfig(const EmulatorInfo& record, const std::string& gamePath, int kind) const;
    /// Settings window's worker, after the user agreed. Deletes the user folder of kind with
    /// everything in it so that the next prepare copies the defaults again; other kinds do nothing.
    void ResetUserFolder(const EmulatorInfo& record, int kind) const;

    /// Any thread. The user folder of kind with a trailing '/', or empty for other kinds.
    std::string UserFolder(int kind) const;
    /// Any thread. folder + name after the template rule: the first "$" of name puts the rest of
    /// name below the documents folder; else the first "~" becomes the base name of gamePath. Empty
    /// when name (after the rule) is empty, absolute or leaves its folder through "..".
    std::string TemplatePath(const std::string& folder, const std::string& name,
                             const std::string& gamePath) const;

    /// Any thread. folder + name with '\\' turned into '/', no template rule; empty when name is empty,
    /// absolute or leaves folder through "..".
    static std::string ContainedPath(const std::string& folder, const std::string& name);
    /// Any thread. $XDG_DOCUMENTS_DIR, else $HOME/Documents, with a trailing '/'.
    static std::string DocumentsFolder();
    /// Any thread. The last part of path without its last extension ("" for an empty path).
    static std::string GameBaseName(const std::string& gamePath);

private:
    std::string m_folder; // with a trailing '/'
    std::string m_documents;
};

} // namespace ravelo
