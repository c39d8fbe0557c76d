// A main window whose trees are built node by node, as a scan would leave them, so the lists can
// be filled from real folders in the test's temporary drive.
#pragma once

#include "catalogue/ListView.h"
#include "catalogue/My_LView.h"
#include "catalogue/My_TView.h"
#include "shell/Main.h"
#include "support/AppFixture.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QTreeWidget>

class ListTestFixture : public AppFixture
{
protected:
    QTreeWidgetItem *root(int code) { return main->tv[code]->topLevelItem(0); }

    QTreeWidgetItem *child(QTreeWidgetItem *parent, const QString &text)
    {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == text)
                return parent->child(i);
        return nullptr;
    }

    // The drive node "(L:)" with the pictures of a drive type.
    QTreeWidgetItem *addDrive(int code, QChar letter, int driveType)
    {
        auto *node = new QTreeWidgetItem(root(code));
        node->setText(0, QStringLiteral("(%1:)").arg(letter));
        SetNodeImages(node, driveType, driveType + 7);
        return node;
    }

    // The chain of folder nodes of a drive path such as "C:\Photos\Old\"; the last one holds media.
    QTreeWidgetItem *addFolder(int code, const QString &drivePath)
    {
        QTreeWidgetItem *node = child(root(code), "(" + drivePath.left(1) + ":)");
        if (!node)
            node = addDrive(code, drivePath[0], 3);
        const QStringList parts = drivePath.mid(3).split('\\', Qt::SkipEmptyParts);
        for (const QString &part : parts) {
            QTreeWidgetItem *next = child(node, part);
            if (!next) {
                next = new QTreeWidgetItem(node);
                next->setText(0, part);
                SetNodeImages(next, 14, 15);
            }
            node = next;
        }
        SetNodeImages(node, 18, 19);
        return node;
    }

    // Makes code the current type and selects node in its tree, as a click on the node does.
    void open(int code, QTreeWidgetItem *node)
    {
        app.st.CurrentView.CurrentType = code;
        app.st.Selection.ListView = main->lv[code];
        QTreeWidget *tree = main->tv[code];
        {
            const QSignalBlocker block(tree);
            tree->setCurrentItem(node);
        }
        tvALLChange(app, tree, node);
    }

    QStringList captions(int code)
    {
        QStringList out;
        const TListView *list = main->lv[code];
        for (int row = 0; row < list->count(); ++row)
            out << list->item(row).caption;
        return out;
    }

    int rowOf(int code, const QString &caption) { return captions(code).indexOf(caption); }

    QString panel(int n) const { return main->StatusPanels[n]->text(); }
};
