#pragma once

#include <optional>
#include <string>
#include <vector>

#include <Foundation/Forward.h>
#include <Preferences/Forward.h>
#include <UIKit/Forward.h>
#include <UIKit/UIImage.h>
#include <UIKit/UITableViewDataSource.h>
#include <UIKit/UITableViewDelegate.h>
#include <UIKit/UIViewController.h>

// A settings page: loads its specifiers from a property list of its bundle,
// makes each row's cell by its "cellClass" (found by name) or else by its
// standard "cell" kind, sizes rows from "height", and backs each row's
// getter and setter with the target's "get"/"set" messages when it answers
// them, else with the preference domain that its "defaults" names. A tap on
// a row selects it, which the row's cell hears, and deselects it again, as
// Settings does; a button row sends its "action" to the target (after its
// "confirmation" alert, when it has one), a link row pushes its child page.
//
// Each row's cell is made when its table needs it (the row is on screen or
// asked for) and refreshed from the specifier then.
class PSListController : public UIViewController,
                         public UITableViewDelegate,
                         public UITableViewDataSource {
public:
    Ref<PSListController> init() { return self<PSListController>(); }

    Ref<NSBundle> bundle() const { return _bundle; }
    void setBundle(const Ref<NSBundle>& bundle) { _bundle = bundle; }
    // The link row that opened this page; nil for the bundle's root page.
    Ref<PSSpecifier> specifier() const { return _specifier; }
    void setSpecifier(const Ref<PSSpecifier>& specifier) { _specifier = specifier; }

    // The page's rows; loaded on first use from "Root", or for a child page
    // from the pane its link row names by "id", else by its label.
    // Subclasses override this to make their specifiers as a tweak's
    // controller does.
    virtual const std::vector<Ref<PSSpecifier>>& specifiers();
    void setSpecifiers(std::vector<Ref<PSSpecifier>> specifiers);
    // Reads <name>.plist from the bundle: its "items", each a specifier whose
    // label is localised with the table of the same name. Problems are logged
    // and give the rows that could be read (none for a missing file).
    std::vector<Ref<PSSpecifier>> loadSpecifiersFromPlistName(const std::string& name,
                                                              const Ref<PSListController>& target);
    // What went wrong on the last load, if anything.
    const std::optional<std::string>& loadError() const { return _loadError; }

    Ref<PSSpecifier> specifierForID(const std::string& identifier);
    std::optional<size_t> indexOfSpecifier(const Ref<PSSpecifier>& specifier);

    // The preference domain behind each row.
    virtual Value readPreferenceValue(const Ref<PSSpecifier>& specifier);
    virtual void setPreferenceValue(const Value& value, const Ref<PSSpecifier>& specifier);

    // A section of the page: the group cell that starts it (nil for rows
    // before the first group), its header and footer texts, and its rows
    // with their cells, in order.
    struct Section {
        Ref<PSSpecifier> group;
        std::optional<std::string> header;
        std::optional<std::string> footer;
        std::vector<Ref<PSSpecifier>> rows;
    };
    // The page's sections as the table shows them.
    const std::vector<Section>& sections();

    // The table, made on first use.
    Ref<UITableView> table();
    // The row's cell, made now if the row has none on screen.
    Ref<PSTableCell> cellForSpecifier(const Ref<PSSpecifier>& specifier);
    // Shows the rows anew from the specifiers; their cells are made again.
    void reloadSpecifiers();
    void reloadSpecifier(const Ref<PSSpecifier>& specifier);
    void tableViewDidSelectRowAtIndexPath(const Ref<UITableView>& tableView,
                                          const Ref<NSIndexPath>& indexPath) override;
    Ref<UITableViewCell> tableViewCellForRowAtIndexPath(const Ref<UITableView>& tableView,
                                                        const Ref<NSIndexPath>& indexPath) override;
    // A row's height: its "height", else the standard one.
    std::optional<CGFloat>
    tableViewHeightForRowAtIndexPath(const Ref<UITableView>& tableView,
                                     const Ref<NSIndexPath>& indexPath) override;
    // A cell shows its specifier as it comes on screen.
    void tableViewWillDisplayCell(const Ref<UITableView>& tableView,
                                  const Ref<UITableViewCell>& cell,
                                  const Ref<NSIndexPath>& indexPath) override;

    void loadView() override;

    // The page a link row opens: its "detail" class when that is loaded and
    // makes a list controller, else a list controller on the pane the row
    // names (a list of choices for a list link).
    Ref<PSListController> controllerForLink(const Ref<PSSpecifier>& specifier);
    // Sends the row's "action" to its target; logged and ignored when the
    // target does not answer it.
    void performActionForSpecifier(const Ref<PSSpecifier>& specifier);

    static constexpr CGFloat kDefaultRowHeight = 44;

protected:
    // The pane this page's rows come from.
    std::string paneName() const;

private:
    Ref<PSTableCell> makeCell(const Ref<PSSpecifier>& specifier);
    Ref<PSSpecifier> specifierAtIndexPath(const Ref<NSIndexPath>& indexPath);
    static CGFloat rowHeight(const Ref<PSSpecifier>& specifier);
    // Localises the texts a row shows besides its label, with the pane's table.
    void localizeTexts(const Ref<PSSpecifier>& specifier, const std::string& table);
    void connectAccessors(const Ref<PSSpecifier>& specifier, const std::string& pane);
    void confirmThenPerform(const Ref<PSSpecifier>& specifier, const Value::Dictionary& prompt);

    Ref<NSBundle> _bundle;
    Ref<PSSpecifier> _specifier;
    std::vector<Ref<PSSpecifier>> _specifiers;
    bool _specifiersLoaded = false;
    std::optional<std::string> _loadError;
    std::vector<Section> _sections;
    Ref<UITableView> _table;
};
