#pragma once

#include <optional>
#include <string>

#include <Preferences/Forward.h>
#include <Preferences/PSTableCell.h>
#include <SafariServices/Forward.h>
#include <SafariServices/SFSafariViewControllerDelegate.h>

#include "KLRepoCellButton.h"

// A 120-point settings row filled by one large button with a package-box
// symbol and a caption ("title"). A tap opens a web page, by default the
// maker's package repository ("link" names another), in the in-app browser
// over the settings page.
class KLRepoCell : public PSTableCell, public SFSafariViewControllerDelegate {
public:
    Ref<KLRepoCell> initWithStyle(UITableViewCellStyle style,
                                  const std::optional<std::string>& reuseIdentifier,
                                  const Ref<PSSpecifier>& specifier);

    // The button's action: presents the browser on `link`. A link that is
    // not an http or https address with a host is ignored.
    void openLink();
    void safariViewControllerDidFinish(const Ref<SFSafariViewController>& controller) override;
    void layoutSubviews() override;

    Ref<KLRepoCellButton> button() const { return _button; }
    void setButton(const Ref<KLRepoCellButton>& button) { _button = button; }
    const std::optional<std::string>& link() const { return _link; }
    void setLink(const std::optional<std::string>& link) { _link = link; }

    // The page a row without "link" opens.
    static constexpr const char* kDefaultLink = "https://repo.example.com";

    const objc_class* objcClass() const override;

private:
    Ref<KLRepoCellButton> _button;
    std::optional<std::string> _link;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_KLRepoCell;
