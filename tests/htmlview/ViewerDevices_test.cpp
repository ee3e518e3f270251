// A link may name anything; only regular files are read as documents.
#include <sys/stat.h>

#include "htmlview/ViewerFixture.h"

using fakes::ViewerFixture;

namespace {

using ViewerDevices = ViewerFixture;

TEST_F(ViewerDevices, DevicesFoldersAndPipesAreNotReadAndTheShownFileStays) {
  const std::string good = Write("good.htm", "<BODY>ok</BODY>");
  html.SetHtmlFile(good);
  ASSERT_TRUE(html.DispHTML(false));
  const std::string pipe = (dir / "pipe.htm").string();
  ::unlink(pipe.c_str());
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // /dev/zero never ends, a pipe without a writer never answers.
  for (const std::string& target : {std::string("/dev/zero"), pipe, dir.string() + "/"}) {
    html.SetHtmlFile(target);
    EXPECT_FALSE(html.DispHTML(false)) << target;
    EXPECT_EQ(html.HtmlFile(), good) << target;
  }
  EXPECT_EQ(dispDone, 1);
  EXPECT_EQ(canvas.AllText(), "ok");
}

}  // namespace
