// The analytics channel: objects post their call statistics; a sender thread merges them and
// sends them through the suite's routine framework every hour and once more at process end.
#pragma once

#include "df/tqlibex/TQEstatisticas.h"

// Files a copy of an object's tree when the channel is on (called when the object is destroyed).
void TQPostaEstatisticas(const ArvoreEstatisticas& arvore);

// Whether the channel is on (DesativarAnalytics 0 and LocalKarvo set; re-read at most once a minute).
bool TQAnalyticsLigado();

// The module's part: stopping it ends the sender thread and sends once more.
class CTQAnalytics {
public:
    CTQAnalytics() = default;
    ~CTQAnalytics();
    CTQAnalytics(const CTQAnalytics&) = delete;
    CTQAnalytics& operator=(const CTQAnalytics&) = delete;
};
