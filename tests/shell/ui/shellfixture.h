#pragma once

#include <memory>

#include <QColor>
#include <QList>
#include <QWidget>

#include "appstate.h"
#include "mdimain.h"
#include "program.h"
#include "scripteddialogs.h"
#include "testhome.h"

/// A program on a fresh program home with scripted dialogs and its main window.
struct ShellFixture
{
    TestHome home;
    std::unique_ptr<AppState> state = home.makeState();
    ScriptedDialogs dialogs;
    Program program{*state, dialogs};
    std::unique_ptr<MDIMain> main = std::make_unique<MDIMain>(program);
};

/// An album page as the main window sees it: it records what the page commands asked of it.
class FakeAlbumPage : public QWidget, public AlbumPageView
{
public:
    using QWidget::QWidget;

    void markCellDeleted(int index) override { marked.append(index); }
    void setPageBackground(const QColor &colour) override { backgrounds.append(colour); }

    QList<int> marked;
    QList<QColor> backgrounds;
};
