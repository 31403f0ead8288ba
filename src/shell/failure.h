#pragma once

#include <optional>
#include <utility>
#include <variant>

#include <QFileDevice>
#include <QString>

/// The program's one failure value: a number and a description, as the log lines show them.
struct Failure
{
    long number = 0;
    QString description;

    bool operator==(const Failure &) const = default;
};

/// Failure numbers used across the program. Library errors that have no number of their own
/// keep their text under the number listed here.
namespace FailureNumber {
inline constexpr long InvalidProcedureCall = 5;
inline constexpr long FileNotFound = 53;
inline constexpr long FileAlreadyExists = 58;
inline constexpr long DiskFull = 61;
inline constexpr long PermissionDenied = 70;
inline constexpr long PathFileAccessError = 75;
inline constexpr long PathNotFound = 76;
inline constexpr long KeyAlreadyInCollection = 457;
inline constexpr long NoCurrentRecord = 3021;
/// Any error reported by the catalogue's database driver, with the driver's text.
inline constexpr long CatalogueError = 3146;
/// The imaging engine could not decode the picture (corrupt, truncated, too large, not a picture).
inline constexpr long UndecodablePicture = 32500;
/// The imaging engine cannot encode the picture in the format asked for.
inline constexpr long UnsupportedExportFormat = 32501;
/// Any other error reported by the imaging library, with the library's text.
inline constexpr long ImagingError = 32502;
} // namespace FailureNumber

namespace Failures {
Failure invalidProcedureCall();
Failure fileNotFound();
Failure fileAlreadyExists();
Failure diskFull();
Failure permissionDenied();
Failure pathFileAccessError();
Failure pathNotFound();
Failure noCurrentRecord();
Failure undecodablePicture();
Failure unsupportedExportFormat();
/// The failure that best describes a QFile error (permission, missing, full disk, ...).
Failure fromFileError(QFileDevice::FileError error, const QString &path = {});
/// The failure that best describes a C library errno value.
Failure fromErrno(int error);
} // namespace Failures

/// A value or the failure that prevented it.
template <typename T>
class Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    {}
    Result(Failure failure)
        : m_failure(std::move(failure))
    {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    T valueOr(T fallback) const { return m_value ? *m_value : std::move(fallback); }
    const Failure &failure() const { return m_failure; }

private:
    std::optional<T> m_value;
    Failure m_failure;
};

/// Success or the failure that happened.
template <>
class Result<void>
{
public:
    Result() = default;
    Result(Failure failure)
        : m_failure(std::move(failure))
        , m_failed(true)
    {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const Failure &failure() const { return m_failure; }

private:
    Failure m_failure;
    bool m_failed = false;
};
