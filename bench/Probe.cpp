#include "bench/Probe.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <stdexcept>
#include <string>

namespace kodexa::bench {

long VmHWMkB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void ResetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

QList<QByteArray> RunProbe(const char *envVar, int books) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(envVar), QString::number(books));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        throw std::runtime_error("memory probe failed: " + p.readAllStandardError().toStdString());
    return p.readAllStandardOutput().trimmed().split(' ');
}

} // namespace kodexa::bench
