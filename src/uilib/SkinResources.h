#pragma once

#include <QByteArray>
#include <QString>

// The skin (layouts under skin/xmls, pictures under skin/ui) is compiled into the program as a Qt
// resource. Layouts name skin files the way the program always has ("skin\xmls\MainDialog.xml",
// "skin\ui\local_fc.png"); pictures downloaded at run time are named by their absolute path.
namespace UiLib::Skin {

/// Maps a skin name to a path that QFile can open, or an empty string when nothing exists under it.
/// Both separators are accepted. A name may be absolute (a file on disk), relative to the skin's root
/// ("skin/ui/x.png") or relative to the skin folder ("ui/x.png"). When the environment variable
/// RAVELO_SKIN_DIR names a folder, files there are preferred, so a designer can edit layouts without
/// rebuilding. Any thread.
QString Resolve(const QString& name);

/// Reads a skin file whole; false when it does not exist or cannot be read. Any thread.
bool ReadAll(const QString& name, QByteArray& contents);

} // namespace UiLib::Skin
