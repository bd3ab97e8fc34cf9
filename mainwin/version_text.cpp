#include "mainwin/version_text.h"

#ifndef KV_VERSION_MAJOR
#define KV_VERSION_MAJOR 0
#endif
#ifndef KV_VERSION_MINOR
#define KV_VERSION_MINOR 0
#endif
#ifndef KV_VERSION_REVISION
#define KV_VERSION_REVISION 0
#endif

QString VersionText(int major, int minor, int revision)
{
    const auto part = [](int v, int modulus) { return v < 0 ? 0 : v % modulus; };
    return QStringLiteral("Version %1.%2.%3")
        .arg(major < 0 ? 0 : major)
        .arg(part(minor, 100), 2, 10, QLatin1Char('0'))
        .arg(part(revision, 10000), 4, 10, QLatin1Char('0'));
}

QString VersionText() { return VersionText(KV_VERSION_MAJOR, KV_VERSION_MINOR, KV_VERSION_REVISION); }

QString LegalNotice() { return QStringLiteral("Copyright (C) ヴェンドラ  All rights reserved."); }
