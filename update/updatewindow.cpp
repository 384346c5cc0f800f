#include "update/updatewindow.h"

#include "app/menus.h"
#include "app/ui.h"
#include "buildinfo.h"
#include "update/document.h"
#include "update/prompts.h"
#include "update/selftest.h"

#include <QDesktopServices>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QPushButton>

namespace update {

namespace {
QUrl &injectedUrl()
{
    static QUrl url;
    return url;
}
} // namespace

QUrl documentUrl()
{
    const QUrl &url = injectedUrl();
    return url.isEmpty() ? QUrl(QString::fromUtf8(buildinfo::updateUrl)) : url;
}

void setDocumentUrl(const QUrl &url)
{
    injectedUrl() = url;
}

} // namespace update

updateWindow::updateWindow(const QUrl &documentUrl, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_url(documentUrl)
{
    setObjectName(QStringLiteral("updateWindow"));
    setWindowTitle(QStringLiteral("Update"));
    resize(300, 120);
    setSizeGripEnabled(false);
    ui::paintBackground(this);

    StaticText1 = new QLabel(QString::fromLatin1(update::checkingText), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setFont(ui::systemFont(false));
    StaticText1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StaticText1->setTextFormat(Qt::PlainText);
    StaticText1->setGeometry(20, 19, 266, 20);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(20, 46, 260, 12);

    hp = new QNetworkAccessManager(this);
    hp->setObjectName(QStringLiteral("hp"));

    PushButton1 = new QPushButton(QStringLiteral("Cancel"), this);
    PushButton1->setObjectName(QStringLiteral("PushButton1"));
    PushButton1->setFont(ui::systemFont(false));
    PushButton1->setGeometry(208, 80, 72, 20);
    // Return presses it as the default button; Escape and the close box end
    // in done() like it.
    PushButton1->setDefault(true);
    PushButton1->setAutoDefault(true);
    connect(PushButton1, &QPushButton::clicked, this, &updateWindow::PushButton1_Action);

    menus::addShellShortcuts(this);
}

updateWindow::~updateWindow()
{
    abandonRequest();
}

void updateWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_opened) {
        m_opened = true;
        Event_Open();
    }
}

void updateWindow::Event_Open()
{
    ProgressBar1->setMaximum(0); // indeterminate: the bar animates

    startRequest(m_url);

    if (selfTest *window = selfTest::existing())
        window->hide();
}

void updateWindow::startRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    // Redirects are followed here, one by one, rather than by Qt: only to
    // the same host, never from https down to http, and the request to any
    // other address is never made.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    m_at = url;
    m_body.clear();
    m_reply = hp->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &updateWindow::checkLength);
    connect(m_reply, &QNetworkReply::readyRead, this, &updateWindow::readBody);
    connect(m_reply, &QNetworkReply::finished, this, &updateWindow::replyFinished);
}

void updateWindow::checkLength()
{
    if (!m_reply)
        return;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > maxBodySize) {
        abandonRequest();
        hp_Error(tooLargeCode);
    }
}

void updateWindow::readBody()
{
    if (!m_reply)
        return;
    m_body += m_reply->read(maxBodySize + 1 - m_body.size());
    if (m_body.size() > maxBodySize) {
        abandonRequest();
        hp_Error(tooLargeCode);
    }
}

void updateWindow::followRedirect(int status, const QUrl &target)
{
    const QUrl to = m_at.resolved(target);
    const bool sameHost = to.host().compare(m_at.host(), Qt::CaseInsensitive) == 0;
    const bool noDowngrade = to.scheme() == m_at.scheme()
                             || (m_at.scheme() == u"http" && to.scheme() == u"https");
    if (!sameHost || !noDowngrade) {
        // Not followed: the redirect's own status is the answer, an error.
        hp_Error(status);
        return;
    }
    if (++m_redirects > maxRedirects) {
        hp_Error(QNetworkReply::TooManyRedirectsError);
        return;
    }
    startRequest(to);
}

void updateWindow::replyFinished()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    if (reply->isOpen())
        m_body += reply->read(maxBodySize + 1 - m_body.size());
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->deleteLater();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
    if (reply->error() == QNetworkReply::NoError && status >= 300 && status <= 399 && target.isValid()) {
        followRedirect(status, target.toUrl());
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        // An error page's status says more than Qt's code for it.
        hp_Error(status >= 400 ? status : int(reply->error()));
        return;
    }
    // Whatever is not a success (a redirect not followed, 1xx, 3xx) is no
    // update document either.
    if (status != 0 && (status < 200 || status > 299)) {
        hp_Error(status);
        return;
    }
    if (m_body.size() > maxBodySize) {
        hp_Error(tooLargeCode);
        return;
    }
    hp_PageReceived(reply->url(), status, reply->rawHeaderPairs(), QString::fromUtf8(m_body));
}

void updateWindow::hp_PageReceived(const QUrl &, int, const QList<QNetworkReply::RawHeaderPair> &,
                                   const QString &content)
{
    if (content.isEmpty()) {
        closeWindow();
        return;
    }
    const update::UpdateInfo info = update::readDocument(content);
    ProgressBar1->hide();

    QPointer<updateWindow> self(this);
    if (!info.readable) {
        update::prompts().beep();
        update::prompts().showMessage(this, QString::fromLatin1(update::unreadableText));
        if (self)
            closeWindow();
        return;
    }
    if (!update::versionMatches(info.version)) {
        askUpgrade(info.version, info.description, QString::fromUtf8(buildinfo::downloadUrl), info.free);
        return;
    }
    StaticText1->setText(QString::fromLatin1(update::currentLabelText));
    StaticText1->repaint();
    if (!automaticCheck)
        update::prompts().showMessage(this, QString::fromLatin1(update::currentBoxText));
    if (self)
        closeWindow();
}

void updateWindow::hp_Error(qint64 code)
{
    QPointer<updateWindow> self(this);
    update::prompts().beep();
    update::prompts().showMessage(this, update::communicationErrorText(code));
    if (self)
        closeWindow();
}

void updateWindow::PushButton1_Action()
{
    closeWindow();
}

void updateWindow::askUpgrade(const QString &newVersion, const QString &description,
                              const QString &downloadAddress, bool free)
{
    const update::UpgradeQuestion question{QString::fromLatin1(update::upgradeTitle),
                                           update::upgradeMessage(newVersion, free), description};
    QPointer<updateWindow> self(this);
    const update::UpgradeChoice choice = update::prompts().askUpgrade(this, question);
    if (!self)
        return;
    switch (choice) {
    case update::UpgradeChoice::Ok:
        QDesktopServices::openUrl(QUrl(downloadAddress));
        closeWindow();
        break;
    case update::UpgradeChoice::Cancel:
        closeWindow();
        break;
    case update::UpgradeChoice::GoToWebsite:
        QDesktopServices::openUrl(QUrl(QString::fromUtf8(buildinfo::homeUrl)));
        // The window waits, without its bar, for Cancel or the close box.
        StaticText1->setText(QString::fromLatin1(update::checkingText));
        ProgressBar1->hide();
        break;
    }
}

void updateWindow::abandonRequest()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    // Nothing of the request may reach the handlers once it is abandoned.
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

void updateWindow::closeWindow()
{
    done(QDialog::Rejected);
}

void updateWindow::done(int result)
{
    abandonRequest();
    QDialog::done(result);
}
