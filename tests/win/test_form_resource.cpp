// Definitions linked in as resources are found by form class.
#include <gtest/gtest.h>

#include <memory>

#include "FormReader.h"
#include "FormResource.h"

using namespace qs;

namespace {
class TResProbeForm : public TComponent {
    QS_DECLARE_CLASS(TResProbeForm)
public:
    using TComponent::TComponent;
    std::wstring caption;
};
}  // namespace

const TClassInfo& TResProbeForm::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TResProbeForm>("TResProbeForm", &TComponent::StaticClassInfo())
            .creatable()
            .wide("Caption", [](const TResProbeForm& f) { return f.caption; },
                  [](TResProbeForm& f, const std::wstring& v) { f.caption = v; })
            .build();
    return info;
}

TEST(FormResource, FindsEachDefinitionByItsClassCaseBlind) {
    RegisterComponentClass(TResProbeForm::StaticClassInfo());
    std::string text = LoadFormDefinition("TF_ResourceProbe");
    ASSERT_EQ(text.rfind("object F_probe: TResProbeForm", 0), 0u) << text;
    EXPECT_EQ(LoadFormDefinition("tf_resourceprobe"), text);
    EXPECT_EQ(LoadFormDefinition("TF_OtherProbe").rfind("object F_other:", 0), 0u);

    // The bytes arrive unchanged: the Chinese caption reads back as written.
    TResProbeForm form(nullptr);
    ReadForm(&form, text);
    EXPECT_EQ(form.caption, L"\u7a97\u53e3\u7f6e\u9876");
    auto* child = static_cast<TResProbeForm*>(form.FindComponent("Child"));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->caption, L"V1.24");
}

TEST(FormResource, AnUnknownClassHasNoDefinition) {
    EXPECT_EQ(LoadFormDefinition("TF_NoSuchForm"), "");
    EXPECT_EQ(LoadFormDefinition(""), "");
    EXPECT_EQ(LoadFormDefinition(nullptr), "");
}
