#pragma once

#include <rtnmod08/HostComponents.h>
#include "support/ComponentOverride.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace shop::test {

struct TrackedError {
    QString moduleName;
    QString routine;
    long long number = 0;
    bool showToUser = true;
};

// Stands in for the error tracker during a test and keeps every report it gets.
class RecordingErrorTracker final : public ErrorDetails {
public:
    void ErrorTrack(QString &moduleName, QString &, QString &routine, long long &number, QString &, QString &, QString &,
                    bool &showToUser) override
    {
        reports.push_back({moduleName, routine, number, showToUser});
    }
    std::vector<TrackedError> reports;
};

// Installs a RecordingErrorTracker for the lifetime of a test.
class ErrorTrackerScope {
public:
    ErrorTrackerScope() : m_override(progid::ErrorTracker, std::shared_ptr<ErrorDetails>(m_tracker)) {}
    const std::vector<TrackedError> &reports() const { return m_tracker->reports; }
    void clear() { m_tracker->reports.clear(); }
    QStringList routines() const
    {
        QStringList out;
        for (const TrackedError &e : reports())
            out << e.routine;
        return out;
    }

private:
    std::shared_ptr<RecordingErrorTracker> m_tracker = std::make_shared<RecordingErrorTracker>();
    ComponentOverride m_override;
};

} // namespace shop::test
