// A running cloning program on the offscreen platform, and a hand that answers its dialogs.
#pragma once

#include "app/clone_support_doc.h"
#include "app/qt/main_frame.h"
#include "app/qt/z30_app.h"
#include "core/platform.h"
#include "tests/support/modal_hand.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class AppTest : public ::testing::Test {
protected:
    void SetUp() override { ResetPlatform(); }
    void TearDown() override {
        app.reset();
        ResetPlatform();
    }
    CZ30MainFrame& Start(QStringList args = {}, CZ30AppOptions options = Offline()) {
        app = std::make_unique<CZ30App>(options);
        args.prepend(QStringLiteral("--nosplash"));
        EXPECT_TRUE(app->InitInstance(args));
        QApplication::processEvents();
        return *app->MainFrame();
    }
    static CZ30AppOptions Offline() {
        CZ30AppOptions o;
        o.singleInstance = false;
        o.useQtSettings = false;
        o.useSerialPorts = false;
        o.useSound = false;
        return o;
    }
    // Closes the program as the user would (the document is not modified).
    void Close() {
        app->MainFrame()->close();
        app.reset();
    }
    std::unique_ptr<CZ30App> app;
};

// The program on a radio of a variant, with the sheet shown.
class SheetAppTest : public AppTest {
protected:
    // Started on that variant, with a window tall enough for 16 rows.
    CZ30MainFrame& StartWith(int variant) {
        Platform().settings->SetInt("Model", "ModelVer", variant);
        CZ30MainFrame& frame = Start();
        frame.resize(900, 700);
        QApplication::processEvents();
        return frame;
    }
    CListSheet& Sheet() {
        return *static_cast<CListSheet*>(app->MainFrame()->Sheets()->CurrentSheet());
    }
    // The model menu's change, the question answered Yes.
    void ChangeModelTo(int variant) {
        ModalHand yes;
        yes.handler = [](QWidget* box) {
            ModalHand::Click(box, QMessageBox::Yes);
            return true;
        };
        app->MainFrame()->ChangeModel(variant);
    }
};
