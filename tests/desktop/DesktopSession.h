#pragma once
// What the X and the Wayland window tests share: a new editor window, the state of the left button and
// other programs run to drive or read the display.

#include "EditorDialogs.h"
#include "SimulatedHidBackend.h"
#include "Unit1.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include <memory>

// Runs program to its end (10 s at most) and gives what it printed.
inline QString Run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A new editor on the simulated large-display device; not yet shown.
inline std::unique_ptr<TfrmMain> NewEditor()
{
    return std::make_unique<TfrmMain>(std::make_unique<QtEditorDialogs>(),
                                      std::make_shared<SimulatedHidBackend>(SimulatorModel::Large, "", false));
}

// Once the window has had the press (or the release) of the left button.
inline bool LeftButtonIs(bool down)
{
    return QTest::qWaitFor([down] { return bool(QGuiApplication::mouseButtons() & Qt::LeftButton) == down; }, 5000);
}

