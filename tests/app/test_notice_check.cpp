// The start-up notice: the flag document decides whether the site is handed to the browser. A fake
// xdg-open early on PATH records what it is given.

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "app/notice_check.h"
#include "support/loopback_server.h"

using namespace gedan;
using gedan::testing::CannedResponse;
using gedan::testing::LoopbackServer;

class NoticeCheckTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir bin_;
  QString log_;

  QStringList OpenedAddresses() const {
    QFile file(log_);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  }

 private slots:
  void initTestCase() {
    QVERIFY(bin_.isValid());
    log_ = bin_.filePath("opened.log");
    QFile script(bin_.filePath("xdg-open"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\n").arg(log_).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", bin_.path().toUtf8() + ":" + qgetenv("PATH"));
  }

  void siteUrlIsSchemeHostAndPort() {
    const std::vector<std::pair<Text, Text>> cases = {
        {"https://notice.example.org/?1.htm", "https://notice.example.org"},
        {"http://127.0.0.1:8080/?1.htm", "http://127.0.0.1:8080"},
        {"https://example.org", "https://example.org"},
        {"https://example.org?1.htm", "https://example.org"},
        {"https://example.org#top", "https://example.org"},
        {"example.org/?1.htm", ""},
        {"", ""},
    };
    for (const auto& [flag, site] : cases) QCOMPARE(NoticeSiteUrl(flag), site);
  }

  // All cases run first, then the log is read once the openings have had time to land: an opening
  // that should not have happened shows up as an extra line.
  void onlyFlagOneOpensTheSite() {
    struct Case {
      const char* body;
      int status;
      bool opens;
    };
    const std::vector<Case>
        cases =
            {
                {"1", 200, true},  {"1\r\n", 200, true}, {"0", 200, false},
                {"2", 200, false}, {"", 200, false},     {"<html>1</html>", 200, false},
                {"1", 404, true},  // the status is not looked at: whatever body arrives counts
            };
    std::vector<std::unique_ptr<LoopbackServer>> servers;
    QStringList expected;
    for (const Case& c : cases) {
      auto server = std::make_unique<LoopbackServer>();
      CannedResponse flag;
      flag.status = c.status;
      flag.body = c.body;
      flag.contentType = "text/plain";
      server->Serve("/", flag);
      qputenv("GEDAN_NOTICE_URL", QByteArray::fromStdString(server->Url("/?1.htm")));
      NoticeCheck();
      QCOMPARE(server->Requests().size(), std::size_t{1});
      QCOMPARE(server->Requests()[0].query, std::string("1.htm"));
      if (c.opens) expected << QString::fromStdString(server->Url(""));
      servers.push_back(std::move(server));
    }

    // Nothing listening, and no address configured: the check just returns.
    qputenv("GEDAN_NOTICE_URL", "http://127.0.0.1:1/?1.htm");
    NoticeCheck();
    qunsetenv("GEDAN_NOTICE_URL");
    NoticeCheck();

    QTRY_COMPARE(OpenedAddresses().size(), expected.size());
    QTest::qWait(200);
    QStringList opened = OpenedAddresses();
    opened.sort();
    expected.sort();
    QCOMPARE(opened, expected);
  }
};

QTEST_MAIN(NoticeCheckTest)
#include "test_notice_check.moc"
