// Shows a generated help-like document of about 200 KB with the viewer
// component (DispHTML on an offscreen canvas 600 pixels wide, to completion)
// and with QTextDocument (setHtml, layout at the same width, draw the first
// screen), prints both times and their ratio, then the viewer's peak memory
// for a 1 MB document above the empty viewer, and the display times of
// documents of a few troublesome shapes at 256 KB and 1 MB. The viewer is
// created through the component runtime, as the help window creates it
// (Quillet must be registered: tools/kvregsvr).
#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "htmlview/Quillet.h"
#include "platform/Application.h"
#include "platform/Services.h"

namespace {

constexpr int kWidthPx = 600;
constexpr int kHeightPx = 480;

long StatusKiB(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string name;
  while (status >> name) {
    if (name == key) {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(4096, '\n');
  }
  return 0;
}

// A help-like document of at least the given size in bytes.
std::string Generate(size_t bytes) {
  std::string s = "<HTML><HEAD><TITLE>ヘルプ</TITLE></HEAD>\n<BODY BGCOLOR=#FFFFF0>\n";
  for (int section = 1; s.size() < bytes; ++section) {
    const std::string n = std::to_string(section);
    s += "<A NAME=\"s" + n + "\"></A><H2>第 " + n + " 章 時計の設定 Settings " + n + "</H2>\n";
    s += "<CENTER>この章の概要 — overview of chapter " + n + "</CENTER>\n";
    s += "<P>Kelvora は画面の隅に日付と時刻を表示する小さな時計です。The clock shows the date and time in a small "
         "window; 2 行の表示はそれぞれ自分の書式で整形されます。<B>太字の説明</B>と<I>斜体の説明</I>があります。\n";
    s += "<UL>\n<LI>項目 one: ウィンドウの大きさに合わせて文字の大きさが変わります。\n"
         "<LI><A HREF=\"page" + n + ".htm\">リンク link to page " + n + "</A> を参照してください。\n"
         "<LI>常に手前に表示する設定 stay on top.\n</UL>\n";
    s += "<OL>\n<LI>最初の手順 first step\n<LI>次の手順 second step with some more English words to wrap\n</OL>\n";
    s += "<P>MML の例：<FONT COLOR=navy>T120 O4 L8 CDEFGAB&gt;C</FONT> を時報に使えます。"
         "詳しくは <A HREF=\"#s1\">最初の章</A> をご覧ください。\n<HR>\n";
  }
  return s + "</BODY></HTML>\n";
}

// Shapes of documents whose display once grew with the square of their
// size, at least the given size in bytes.
struct Shape {
  const char* Name;
  std::string (*Make)(size_t bytes);
};
std::string Repeat(const std::string& unit, size_t bytes) {
  std::string s = "<HTML><BODY>\n";
  while (s.size() < bytes) s += unit;
  return s + "</BODY></HTML>\n";
}
const Shape kShapes[] = {
    {"nested lists <OL><LI>x", [](size_t b) { return Repeat("<OL><LI>x", b); }},
    {"& without ;", [](size_t b) { return Repeat("&", b); }},
    {"text runs a<BR>", [](size_t b) { return Repeat("a<BR>", b); }},
    {"one text run", [](size_t b) { return Repeat(std::string(49, 'x') + "\n", b); }},
    {"Japanese prose", [](size_t b) { return Repeat("日本語の文章を折り返すと、「かぎかっこ」や句読点が行頭に来ないようにします。\n", b); }},
    {"centred lines", [](size_t b) { return Repeat("<CENTER>centred text that wraps, 中央にそろえた行</CENTER>\n", b); }},
};

struct Host {
  Host() {
    form = platform::Controls().CreateForm(platform::FormStyle{"frmBench", "", platform::vbSizable, false, false});
    form->Move(0, 0, (kWidthPx + 40) * 15.0, (kHeightPx + 20) * 15.0);
    back = platform::Controls().CreatePictureBox(*form, "Picture1");
    back->Move(0, 0, kWidthPx * 15.0, kHeightPx * 15.0);
    canvas = platform::Controls().CreatePictureBox(*back, "Picture3");
    canvas->Move(0, 0, kWidthPx * 15.0, kHeightPx * 15.0);
    work = platform::Controls().CreatePictureBox(*form, "Picture2");
    scroll = platform::Controls().CreateVScrollBar(*form, "VScroll1");
    html->SetCanvas(canvas.get());
    html->SetWorkCanvas(work.get());
    html->SetVScroll(scroll.get());
    html->SetBackFrame(back.get());
  }
  ~Host() { html.Reset(); }
  std::unique_ptr<platform::IForm> form;
  std::unique_ptr<platform::IPictureBox> back, canvas, work;
  std::unique_ptr<platform::IVScrollBar> scroll;
  platform::com::ComPtr<Quillet::_clsHTML> html = platform::com::CreateObject<Quillet::_clsHTML>(Quillet::kclsHTML);
};

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  platform::Application app(argc, argv, "bench");
  const auto dir = std::filesystem::temp_directory_path() / "kelvora_bench";
  std::filesystem::create_directories(dir);
  const auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
    return (dir / name).string();
  };

  try {
    Host probe;
  } catch (const platform::RuntimeError& error) {
    std::fprintf(stderr, "%d%s\nQuillet を登録するには: kvregsvr libQuillet.so のパス\n", error.Number(),
                 error.Description().c_str());
    return 1;
  }

  // Memory first, so that the peak is the viewer's own.
  {
    Host host;
    host.html->SetHtmlFile(write("empty.htm", "<HTML><BODY>x</BODY></HTML>"));
    host.html->DispHTML(true);
    const long base = StatusKiB("VmRSS:");
    const std::string big = Generate(1 << 20);
    host.html->SetHtmlFile(write("big.htm", big));
    const auto t0 = std::chrono::steady_clock::now();
    const bool ok = host.html->DispHTML(true);
    const auto t1 = std::chrono::steady_clock::now();
    const long peak = StatusKiB("VmHWM:");
    std::printf("Quillet 1 MB document (%zu bytes): %s in %.3f s, canvas %.0f px tall, peak memory %.1f MB above the "
                "empty viewer (goal < 100 MB)\n",
                big.size(), ok ? "shown" : "NOT shown", Seconds(t1 - t0), host.canvas->Height() / 15.0,
                (peak - base) / 1024.0);
  }

  // Each shape at 256 KB and 1 MB: four times the text should take about
  // four times as long.
  for (const Shape& shape : kShapes) {
    // 1 MB first, so that its peak memory is not hidden by memory the
    // smaller display left behind.
    double seconds[2] = {0, 0};
    long peakKiB = 0;
    bool ok = true;
    for (int k = 0; k < 2; ++k) {
      Host host;
      host.html->SetHtmlFile(write("shape.htm", shape.Make(k == 0 ? 1024 * 1024 : 256 * 1024)));
      std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak
      const long base = StatusKiB("VmRSS:");
      const auto t0 = std::chrono::steady_clock::now();
      ok = host.html->DispHTML(true) && ok;
      seconds[k] = Seconds(std::chrono::steady_clock::now() - t0);
      if (k == 0) peakKiB = StatusKiB("VmHWM:") - base;
    }
    std::printf("%-24s 1 MB %.3f s (goal < 1 s), 256 KB %.3f s (1 MB takes x%.1f), peak +%.0f MB%s\n", shape.Name,
                seconds[0], seconds[1], seconds[0] / seconds[1], peakKiB / 1024.0, ok ? "" : ", NOT shown");
  }

  const std::string doc = Generate(200 * 1024);
  const std::string path = write("help.htm", doc);
  double quillet = 1e9, qtext = 1e9;
  for (int round = 0; round < 3; ++round) {
    Host host;
    host.html->SetHtmlFile(path);
    const auto t0 = std::chrono::steady_clock::now();
    const bool ok = host.html->DispHTML(true);
    const auto t1 = std::chrono::steady_clock::now();
    if (!ok) std::printf("Quillet did not complete the drawing\n");
    quillet = std::min(quillet, Seconds(t1 - t0));

    const auto t2 = std::chrono::steady_clock::now();
    QTextDocument text;
    text.setHtml(QString::fromUtf8(doc.data(), static_cast<qsizetype>(doc.size())));
    text.setTextWidth(kWidthPx);
    const QSizeF size = text.documentLayout()->documentSize();
    QImage screen(kWidthPx, kHeightPx, QImage::Format_RGB32);
    screen.fill(Qt::white);
    QPainter p(&screen);
    text.drawContents(&p, QRectF(0, 0, kWidthPx, kHeightPx));
    p.end();
    const auto t3 = std::chrono::steady_clock::now();
    qtext = std::min(qtext, Seconds(t3 - t2));
    if (round == 0)
      std::printf("document %zu bytes: Quillet canvas %.0f px tall, QTextDocument %.0f px tall\n", doc.size(),
                  host.canvas->Height() / 15.0, size.height());
  }
  std::printf("Quillet DispHTML:          %.3f s\n", quillet);
  std::printf("QTextDocument set+layout+draw: %.3f s\n", qtext);
  std::printf("ratio Quillet / QTextDocument: %.2f (goal <= 1.0)\n", quillet / qtext);
  return 0;
}
