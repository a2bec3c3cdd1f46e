#include "app/compositing_path.h"

#include <gtest/gtest.h>

namespace pagoro {
namespace {

CompositingFacts Renderer(const QString& renderer) {
  CompositingFacts facts;
  facts.renderer = renderer;
  return facts;
}

TEST(CompositingPathTest, TheMachinesRendererDecides) {
  EXPECT_EQ(ChooseCompositingPath(Renderer("llvmpipe (LLVM 15.0.6, 256 bits)")).path,
            CompositingPath::kSoftware);
  EXPECT_EQ(ChooseCompositingPath(Renderer("softpipe")).path, CompositingPath::kSoftware);
  EXPECT_EQ(ChooseCompositingPath(Renderer("Software Rasterizer")).path,
            CompositingPath::kSoftware);
  EXPECT_EQ(ChooseCompositingPath(Renderer("Google SwiftShader")).path, CompositingPath::kSoftware);
  EXPECT_EQ(ChooseCompositingPath(Renderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)")).path,
            CompositingPath::kHardware);
  EXPECT_EQ(ChooseCompositingPath(Renderer("NVIDIA GeForce GTX 1060/PCIe/SSE2")).path,
            CompositingPath::kHardware);
  CompositingFacts none;
  none.has_opengl = false;
  EXPECT_EQ(ChooseCompositingPath(none).path, CompositingPath::kSoftware);
  // The reason names the renderer it rests on.
  EXPECT_TRUE(ChooseCompositingPath(Renderer("llvmpipe")).reason.contains("llvmpipe"));
}

TEST(CompositingPathTest, ForcedOrSetByTheUserBeforeTheMachine) {
  CompositingFacts facts = Renderer("llvmpipe");
  facts.forced = " Hardware";
  EXPECT_EQ(ChooseCompositingPath(facts).path, CompositingPath::kHardware);
  EXPECT_TRUE(ChooseCompositingPath(facts).reason.contains("PAGORO_COMPOSITING"));
  facts = Renderer("AMD Radeon RX 580");
  facts.forced = "software";
  EXPECT_EQ(ChooseCompositingPath(facts).path, CompositingPath::kSoftware);
  // An unknown value or "auto" leaves it to the machine.
  facts.forced = "fast";
  EXPECT_EQ(ChooseCompositingPath(facts).path, CompositingPath::kHardware);
  facts.forced = "auto";
  facts.renderer = "llvmpipe";
  EXPECT_EQ(ChooseCompositingPath(facts).path, CompositingPath::kSoftware);
  // Qt Quick's own variable stands when ours is unset.
  facts = Renderer("AMD Radeon RX 580");
  facts.quick_backend = "software";
  EXPECT_EQ(ChooseCompositingPath(facts).path, CompositingPath::kSoftware);
  facts = Renderer("llvmpipe");
  facts.quick_backend = "rhi";
  EXPECT_EQ(ChooseCompositingPath(facts).path, CompositingPath::kHardware);
}

TEST(CompositingPathTest, ARemoteDisplayCompositesInSoftware) {
  EXPECT_TRUE(IsRemoteX11Display("localhost:10.0"));
  EXPECT_TRUE(IsRemoteX11Display("192.168.1.5:0"));
  EXPECT_TRUE(IsRemoteX11Display("[::1]:0"));
  EXPECT_FALSE(IsRemoteX11Display(":0"));
  EXPECT_FALSE(IsRemoteX11Display(":1.0"));
  EXPECT_FALSE(IsRemoteX11Display("unix:0"));
  EXPECT_FALSE(IsRemoteX11Display("/private/tmp/com.apple.launchd.x/org.xquartz:0"));
  EXPECT_FALSE(IsRemoteX11Display(""));
  CompositingFacts facts = Renderer("NVIDIA GeForce GTX 1060/PCIe/SSE2");
  facts.remote_display = true;
  EXPECT_EQ(ChooseCompositingPath(facts).path, CompositingPath::kSoftware);
}

}  // namespace
}  // namespace pagoro
