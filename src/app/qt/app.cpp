#include "app/qt/app.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>

#include "app/qt/text.h"

// The icon lives in this library; a static library's resources are linked
// in only when something names them.
static void InitResources() { Q_INIT_RESOURCE(morvane); }

namespace morvane::qt {

App::App(Player& player, const std::u16string& config_folder, const std::u16string& data_folder,
         const KeySource& open_keys)
    : window_port_(window_),
      controls_(window_),
      program_(FrontEnd{Ports{controls_, window_port_, poll_timer_, player, code_page_, files_, mark_file::Encoding::Utf8,
                              data_folder},
                        config_folder, open_keys})
{
    // Qt's own words (the file dialog, the replace question's buttons) in
    // Chinese whatever the locale. Without the translation file they stay
    // English; the program works all the same.
    if (qt_words_.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt_words_);
    // The window and every dialog show the program's icon.
    InitResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/morvane/morvane.png")));
    QObject::connect(&poll_timer_.Clock(), &QTimer::timeout, &window_, [this] { Form().Poll_Tick(); });
    QObject::connect(&window_, &MainWindow::Closed, &window_, [this] { program_.Window_Gone(); });
    window_.Attach(&Form());
}

App::App(Player& player, HotKeys& keyboard)
    : App(player, {}, {}, [&keyboard](const keys::KeyMap&) -> HotKeys& { return keyboard; })
{
}

App::~App()
{
    QCoreApplication::removeTranslator(&qt_words_);
    program_.Window_Gone();
    window_.Attach(nullptr);
}

bool App::Start()
{
    const Program::Started started = program_.Start([this] { window_.show(); },
                                                    [this](const std::u16string& text) { ShowNotice(ToQString(text)); });
    if (started == Program::Started::NoTimer) {
        QMessageBox::critical(&window_, QStringLiteral("Morvane"), QStringLiteral("无法启动定时器"));
        window_.close();
    }
    return started == Program::Started::Running;
}

void App::ShowNotice(const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("提示"), text, QMessageBox::Ok, &window_);
    PrepareMessageBox(*box);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

} // namespace morvane::qt
