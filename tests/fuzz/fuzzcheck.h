#pragma once

// What every fuzz target shares: the input as text, and the checks of properties that must hold
// whatever the input. A failed check prints what was broken and aborts, which libFuzzer reports as
// a crash and saves the input for.

#include "data/databaseerror.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace coop::fuzz {

[[noreturn]] inline void broken(const char *what, const char *file, int line, const QString &detail = {})
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.toUtf8().constData());
    std::abort();
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline QString text(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Runs `parse`, which may raise coop::Error and nothing else; answers whether it returned, with the
// error's text in `error` when it did not. Any other exception escapes to std::terminate: a crash.
template<typename Parse>
bool raisesOnlyCoopError(Parse &&parse, QString *error = nullptr)
{
    try {
        parse();
        return true;
    } catch (const coop::Error &e) {
        if (e.text().isEmpty())
            broken("coop::Error with an empty text", __FILE__, __LINE__);
        if (error)
            *error = e.text();
        return false;
    }
}

} // namespace coop::fuzz

#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::coop::fuzz::broken(#condition, __FILE__, __LINE__ __VA_OPT__(, ) __VA_ARGS__);      \
    } while (false)
