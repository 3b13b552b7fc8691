// libFuzzer target: DesktopEntryReader::parse on arbitrary bytes.
#include "velmora/discovery/DesktopEntryReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const char *desktop : {"GNOME", "KDE:X-Generic", ""}) {
        const auto entry = velmora::DesktopEntryReader::parse(bytes, QStringLiteral("/f/x.desktop"),
                                                              QStringLiteral("x.desktop"),
                                                              QString::fromLatin1(desktop));
        if (entry && entry->shown && entry->item.bundleID != QLatin1String("x.desktop"))
            __builtin_trap();
    }
    return 0;
}
