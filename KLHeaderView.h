#pragma once

#include <optional>
#include <string>

#include <MessageUI/MFMailComposeViewController.h>
#include <UIKit/Forward.h>

#include "KLMultiPurposeButton.h"

// The banner at the top of a tweak's settings page: the tweak's name in large
// bold type over one row of the author button (name and Twitter avatar), the
// version badge, the donate button and the more button, whose menu shares the
// tweak, follows the developer, writes to support and joins the Discord
// server. A tweak's own list controller makes it; it stores nothing.
class KLHeaderView : public UIView, public MFMailComposeViewControllerDelegate {
public:
    Ref<KLHeaderView> initWithFrame(const CGRect& frame,
                                    const std::optional<std::string>& twitterHandle,
                                    const std::optional<std::string>& developerName,
                                    const std::optional<std::string>& tweakName,
                                    const std::optional<std::string>& tweakVersion,
                                    const std::optional<std::string>& email,
                                    const std::optional<std::string>& discordURL,
                                    const std::optional<std::string>& donateURL);

    // A new menu from the current properties: which items it has is settled
    // now; what they do is read from the header when they run.
    Ref<UIMenu> shareMenu();
    // Opens the developer's Twitter profile.
    void openTwitter();
    // Opens the donation address.
    void donate();
    // Dismisses the composer, whatever the result.
    void mailComposeController(const Ref<MFMailComposeViewController>& controller,
                               MFMailComposeResult result, const Ref<NSError>& error) override;

    Ref<UILabel> tweakNameLabel() const { return _tweakNameLabel; }
    void setTweakNameLabel(const Ref<UILabel>& label) { _tweakNameLabel = label; }
    Ref<UIStackView> vStack() const { return _vStack; }
    void setVStack(const Ref<UIStackView>& stack) { _vStack = stack; }
    Ref<UIStackView> hStack() const { return _hStack; }
    void setHStack(const Ref<UIStackView>& stack) { _hStack = stack; }
    Ref<KLMultiPurposeButton> authorButton() const { return _authorButton; }
    void setAuthorButton(const Ref<KLMultiPurposeButton>& button) { _authorButton = button; }
    Ref<KLMultiPurposeButton> versionLabel() const { return _versionLabel; }
    void setVersionLabel(const Ref<KLMultiPurposeButton>& label) { _versionLabel = label; }
    Ref<UIButton> donateButton() const { return _donateButton; }
    void setDonateButton(const Ref<UIButton>& button) { _donateButton = button; }
    Ref<UIButton> moreButton() const { return _moreButton; }
    void setMoreButton(const Ref<UIButton>& button) { _moreButton = button; }
    const std::optional<std::string>& developerName() const { return _developerName; }
    void setDeveloperName(const std::optional<std::string>& name) { _developerName = name; }
    const std::optional<std::string>& tweakName() const { return _tweakName; }
    void setTweakName(const std::optional<std::string>& name) { _tweakName = name; }
    const std::optional<std::string>& twitterHandle() const { return _twitterHandle; }
    void setTwitterHandle(const std::optional<std::string>& handle) { _twitterHandle = handle; }
    const std::optional<std::string>& email() const { return _email; }
    void setEmail(const std::optional<std::string>& email) { _email = email; }
    const std::optional<std::string>& discordURL() const { return _discordURL; }
    void setDiscordURL(const std::optional<std::string>& url) { _discordURL = url; }
    const std::optional<std::string>& donateURL() const { return _donateURL; }
    void setDonateURL(const std::optional<std::string>& url) { _donateURL = url; }

    const objc_class* objcClass() const override;

private:
    Ref<UIButton> makeSquareButton(const char* symbol);
    void presentShareSheet();
    void presentMailComposer();
    void openDiscord();

    Ref<UILabel> _tweakNameLabel;
    Ref<UIStackView> _vStack;
    Ref<UIStackView> _hStack;
    Ref<KLMultiPurposeButton> _authorButton;
    Ref<KLMultiPurposeButton> _versionLabel;
    Ref<UIButton> _donateButton;
    Ref<UIButton> _moreButton;
    std::optional<std::string> _developerName;
    std::optional<std::string> _tweakName;
    std::optional<std::string> _twitterHandle;
    std::optional<std::string> _email;
    std::optional<std::string> _discordURL;
    std::optional<std::string> _donateURL;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_KLHeaderView;
