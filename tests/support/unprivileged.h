#pragma once

#include <functional>

#include <QString>

/// Runs body in a child process without root's rights (as user and group "nobody") when the
/// tests run as root, so permission checks bite as they do for a user; otherwise runs it here.
/// Returns body's answer; false when the child could not be started or crashed.
/// The body must reach its files through folders "nobody" can enter (see makeTraversable).
bool runUnprivileged(const std::function<bool()> &body);

/// Lets every user enter top and each folder below it down to path (adds read and search
/// rights); top is usually a test's temporary folder, whose own parent everyone can enter.
void makeTraversable(const QString &top, const QString &path);
