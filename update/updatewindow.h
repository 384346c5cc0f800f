#pragma once
// The Update window: fetches the update document with its HTTP client `hp`
// while it is shown modally, then confirms the current version, offers the
// new one, or reports a communication error.
#include <QDialog>
#include <QNetworkReply>
#include <QPointer>
#include <QUrl>

class QLabel;
class QNetworkAccessManager;
class QProgressBar;
class QPushButton;

namespace update {
// Where the update document is fetched from: the build setting unless a
// test or a distributor's code has set another address.
QUrl documentUrl();
// An empty URL puts the build setting back.
void setDocumentUrl(const QUrl &url);
} // namespace update

class updateWindow : public QDialog
{
    Q_OBJECT
public:
    // The longest page body read. The document is a few hundred bytes; a
    // larger answer is not the update document and is not kept in memory.
    static constexpr qint64 maxBodySize = 64 * 1024;
    // The code reported for a body over that size.
    static constexpr int tooLargeCode = QNetworkReply::UnknownContentError;
    // Redirects followed before giving up with TooManyRedirectsError.
    static constexpr int maxRedirects = 10;

    explicit updateWindow(const QUrl &documentUrl = update::documentUrl(), QWidget *parent = nullptr);
    ~updateWindow() override;

    // When true, finding the current version closes the window without the box.
    bool automaticCheck = false;

    QLabel *StaticText1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QNetworkAccessManager *hp = nullptr;
    QPushButton *PushButton1 = nullptr;

    // Starts the check; runs once, when the window is first shown.
    void Event_Open();
    void hp_PageReceived(const QUrl &url, int httpStatus,
                         const QList<QNetworkReply::RawHeaderPair> &headers, const QString &content);
    void hp_Error(qint64 code);
    // Cancel.
    void PushButton1_Action();
    void askUpgrade(const QString &newVersion, const QString &description,
                    const QString &downloadAddress, bool free);

    // Whether a request is still in progress.
    bool isChecking() const { return !m_reply.isNull(); }

    // Closing, by any means, abandons the request in progress.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void checkLength();
    void readBody();
    void startRequest(const QUrl &url);
    void followRedirect(int status, const QUrl &target);
    void replyFinished();
    void abandonRequest();
    void closeWindow();

    QUrl m_url;
    QUrl m_at; // where the request is now, after the redirects followed
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    int m_redirects = 0;
    bool m_opened = false;
};
