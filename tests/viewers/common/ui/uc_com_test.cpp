#include "viewers/common/ui/uc_com.h"

#include <gtest/gtest.h>
#include <termios.h>
#include <time.h>

#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>

#include "platform/termios_device.h"
#include "tests/support/ui_test_support.h"
#include "tests/viewers/common/ui/pty_port.h"

namespace viewers {
namespace {

using viewers_ui_test::PtyPort;

constexpr int kPort = 91;

QByteArray bytesOf(std::initializer_list<uint8_t> values) {
  QByteArray bytes;
  for (uint8_t v : values) bytes.append(static_cast<char>(v));
  return bytes;
}

QByteArray received(const QSignalSpy& spy) {
  QByteArray all;
  for (const QList<QVariant>& call : spy) all += call.at(0).toByteArray();
  return all;
}

double cpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Lets the event loop sleep in its own wait for `ms`, as an idle viewer does.
void idle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

TEST(UcCom, BytesFromTheLineArriveAsReceiveWithEveryByteValueKept) {
  PtyPort line(kPort);
  ASSERT_TRUE(line.ok());
  ucCOM com;
  ASSERT_TRUE(com.COMPort("COM91"));
  ASSERT_TRUE(com.OpenPort());
  QSignalSpy spy(&com, &ucCOM::Receive);

  // A log-mode packet's start, CR LF, the DOS end-of-file byte, a zero and
  // 0xFF: no conversion may touch any of them.
  const QByteArray sent = bytesOf({0xF2, 0x00, 0x0D, 0x0A, 0x1A, 0x00, 0xFF, 0x11, 0x13});
  line.write(sent);
  ASSERT_TRUE(uitest::waitFor([&] { return received(spy).size() >= sent.size(); }));
  EXPECT_EQ(received(spy), sent);

  const QByteArray more = bytesOf({0x01, 0x02, 0x03});
  line.write(more);
  ASSERT_TRUE(uitest::waitFor([&] { return received(spy).size() >= sent.size() + more.size(); }));
  EXPECT_EQ(received(spy), sent + more);
}

TEST(UcCom, SendReachesTheLine) {
  PtyPort line(kPort);
  ASSERT_TRUE(line.ok());
  ucCOM com;
  ASSERT_TRUE(com.COMPort("91"));
  // Before opening nothing goes anywhere, and nothing fails.
  com.Send(bytesOf({0x55}));
  ASSERT_TRUE(com.OpenPort());
  // The log-mode command to the ignition module.
  const QByteArray frame = bytesOf({0xEE, 0x30, 0x08, 0x8C});
  com.Send(frame);
  QByteArray seen;
  ASSERT_TRUE(uitest::waitFor([&] {
    seen += line.readAll();
    return seen.size() >= frame.size();
  }));
  EXPECT_EQ(seen, frame);
}

TEST(UcCom, LineSettingsApplyToTheOpenPortAndBadOnesAreRefused) {
  PtyPort line(kPort);
  ASSERT_TRUE(line.ok());
  ucCOM com;
  EXPECT_EQ(com.settingsText(), "9600,n,8,1");
  ASSERT_TRUE(com.COMPort("COM91"));
  ASSERT_TRUE(com.OpenPort());

  // The master side reports the terminal settings the port set.
  termios tio{};
  ASSERT_EQ(tcgetattr(line.master(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B9600);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB), 0u);
  EXPECT_EQ(tio.c_iflag & (ICRNL | IXON | ISTRIP), 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);

  EXPECT_TRUE(com.Settings("38400,n,8,1"));
  ASSERT_EQ(tcgetattr(line.master(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B38400);
  EXPECT_EQ(com.settingsText(), "38400,n,8,1");

  for (const char* bad : {"", "9600", "9600,e,8,1", "9600,n,7,1", "9600,n,8,2", "1234,n,8,1"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(com.Settings(bad));
    EXPECT_EQ(com.settingsText(), "38400,n,8,1");
  }
  ASSERT_EQ(tcgetattr(line.master(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B38400);

  // A rate set while closed is the one the next opening uses.
  com.ClosePort();
  EXPECT_TRUE(com.Settings("9600,n,8,1"));
  ASSERT_TRUE(com.OpenPort());
  ASSERT_EQ(tcgetattr(line.master(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B9600);
}

TEST(UcCom, ComPortTakesNumberOrNameAndKeepsTheFormerPortOnNonsense) {
  PtyPort line(kPort);
  ASSERT_TRUE(line.ok());
  ucCOM com;
  EXPECT_EQ(com.GetCOMPort(), "COM1");
  struct Case {
    const char* text;
    bool accepted;
    const char* portAfter;
  };
  const Case cases[] = {
      {"91", true, "COM91"},
      {"COM91", true, "COM91"},
      {"com91", true, "COM91"},
      {"", false, "COM91"},
      {"COM 91", false, "COM91"},
      {"COM0", false, "COM91"},
      {"COM100", false, "COM91"},
      // No device behind COM93: the number is taken (the adapter may come
      // later), but the port could not be opened.
      {"COM93", false, "COM93"},
      {"COM91", true, "COM91"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(com.COMPort(c.text), c.accepted);
    EXPECT_EQ(com.GetCOMPort(), c.portAfter);
    EXPECT_FALSE(com.PortIsOpen());
  }

  // While open, only the open port itself can be selected.
  ASSERT_TRUE(com.OpenPort());
  EXPECT_TRUE(com.COMPort("COM91"));
  EXPECT_FALSE(com.COMPort("COM92"));
  EXPECT_EQ(com.GetCOMPort(), "COM91");
  EXPECT_TRUE(com.PortIsOpen());
}

TEST(UcCom, PortHeldByAnotherOpenerIsRefusedAndListedBusy) {
  PtyPort line(kPort);
  ASSERT_TRUE(line.ok());
  platform::TermiosDevice other;
  ASSERT_TRUE(other.openDevice(kPort));

  ucCOM com;
  EXPECT_FALSE(com.COMPort("COM91"));
  EXPECT_FALSE(com.OpenPort());
  EXPECT_FALSE(com.PortIsOpen());
  std::vector<PortEntry> ports = com.COMPortsErmitteln();
  auto entry = std::find_if(ports.begin(), ports.end(),
                            [](const PortEntry& p) { return p.number == kPort; });
  ASSERT_NE(entry, ports.end());
  EXPECT_TRUE(entry->busy);

  // And the other way round: our open port keeps everyone else out.
  other.closeDevice();
  ASSERT_TRUE(com.OpenPort());
  platform::TermiosDevice late;
  EXPECT_FALSE(late.openDevice(kPort));
  ports = com.COMPortsErmitteln();
  entry = std::find_if(ports.begin(), ports.end(),
                       [](const PortEntry& p) { return p.number == kPort; });
  ASSERT_NE(entry, ports.end());
  EXPECT_TRUE(entry->busy);

  com.ClosePort();
  EXPECT_TRUE(late.openDevice(kPort));
}

TEST(UcCom, HangUpClosesThePortWithOneEventAndNoBusyLoop) {
  PtyPort line(kPort);
  ASSERT_TRUE(line.ok());
  ucCOM com;
  ASSERT_TRUE(com.COMPort("COM91"));
  ASSERT_TRUE(com.OpenPort());
  QSignalSpy events(&com, &ucCOM::ComEvent);
  QSignalSpy bytes(&com, &ucCOM::Receive);

  // The last bytes before the line goes away still arrive.
  const QByteArray last = bytesOf({0xF2, 0x42});
  line.write(last);
  ASSERT_TRUE(uitest::waitFor([&] { return received(bytes).size() >= last.size(); }));
  line.hangUp();
  ASSERT_TRUE(uitest::waitFor([&] { return !events.isEmpty(); }, 2000));
  EXPECT_EQ(events.at(0).at(0).toInt(), kComEvCD);
  EXPECT_FALSE(com.PortIsOpen());
  EXPECT_EQ(received(bytes), last);

  // A descriptor still watched after the hang-up would wake the loop
  // without end; an idle loop uses next to no processor time.
  const double before = cpuSeconds();
  idle(400);
  EXPECT_LT(cpuSeconds() - before, 0.1);
  EXPECT_EQ(events.size(), 1);
  EXPECT_EQ(received(bytes), last);
}

TEST(UcCom, HandlerThatRunsTheEventLoopGetsLaterBytesAfterItsOwnInOrder) {
  PtyPort line(kPort);
  ASSERT_TRUE(line.ok());
  ucCOM com;
  ASSERT_TRUE(com.COMPort("COM91"));
  ASSERT_TRUE(com.OpenPort());
  QByteArray all;
  int depth = 0;
  int deepest = 0;
  QObject::connect(&com, &ucCOM::Receive, [&](const QByteArray& bytes) {
    ++depth;
    deepest = std::max(deepest, depth);
    all += bytes;
    // The rpm viewer lets events run after each packet.
    if (all.size() == 1) {
      line.write(bytesOf({0x02, 0x03}));
      idle(50);
    }
    --depth;
  });
  line.write(bytesOf({0x01}));
  ASSERT_TRUE(uitest::waitFor([&] { return all.size() >= 3; }));
  EXPECT_EQ(all, bytesOf({0x01, 0x02, 0x03}));
  EXPECT_EQ(deepest, 1);
}

TEST(UcCom, ClosingInsideTheHandlerStopsFurtherNotifications) {
  PtyPort line(kPort);
  ASSERT_TRUE(line.ok());
  ucCOM com;
  ASSERT_TRUE(com.COMPort("COM91"));
  ASSERT_TRUE(com.OpenPort());
  int calls = 0;
  QObject::connect(&com, &ucCOM::Receive, [&](const QByteArray&) {
    ++calls;
    com.ClosePort();
  });
  line.write(bytesOf({0x01}));
  ASSERT_TRUE(uitest::waitFor([&] { return calls > 0; }));
  line.write(bytesOf({0x02}));
  idle(100);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(com.PortIsOpen());
  // The port is free again for the next opener.
  platform::TermiosDevice next;
  EXPECT_TRUE(next.openDevice(kPort));
}

}  // namespace
}  // namespace viewers
