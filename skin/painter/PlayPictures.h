#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <functional>

/// Adds the painters of the play windows' pictures (my games, the key-map tips, the gamepad test) by
/// picture name.
void AddPlayPictures(QHash<QString, std::function<QImage()>>& painters);
