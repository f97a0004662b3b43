// harlune-cli search / total: one search as Enter in the search box runs it, over the given
// index, the selected one or all lists, printed as the result grid shows it.
#include "app/harlune_app.h"
#include "base/cp1252.h"
#include "base/datetime.h"
#include "base/numbers.h"
#include "base/text.h"
#include "cli/cli_command.h"
#include "index/fields.h"
#include "meta/tag_reader.h"
#include "search/grid_operations.h"

#include <cstdio>
#include <functional>
#include <optional>

namespace harlune {
namespace {

struct SearchOptions {
    std::optional<std::string> index; // --index FILE
    bool all = false;                 // --all
    std::optional<char> source, method;
    int sort = 0;
    bool descending = false;
    bool extra = false;
    std::string text;
};

// Parses the options; false (after a message) on a wrong use.
bool parse(const std::vector<std::string>& args, SearchOptions& o, bool allowSortAndExtra) {
    bool haveText = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--all") {
            o.all = true;
        } else if (a == "--index" && value(v)) {
            o.index = utf8ToCp1252(v);
        } else if (a == "--source" && value(v) && v.size() == 1) {
            o.source = v[0];
        } else if (a == "--method" && value(v) && v.size() == 1) {
            o.method = v[0];
        } else if (allowSortAndExtra && a == "--sort" && value(v)) {
            o.descending = v.ends_with(":desc");
            o.sort = leadingInt(v, 0);
            if (o.sort < 1 || o.sort > 10)
                return false;
        } else if (allowSortAndExtra && a == "--extra") {
            o.extra = true;
        } else if (!haveText && (!a.starts_with("--") || a == "--")) {
            o.text = utf8ToCp1252(a == "--" && i + 1 < args.size() ? args[++i] : a);
            haveText = true;
        } else {
            return false;
        }
    }
    return haveText && !(o.all && o.index);
}

// Runs the search; false when it could not run (index missing, load failed).
bool runSearch(CliContext& context, const SearchOptions& o, HarluneApp& app) {
    SystemClock clock;
    Config config;
    IndexSelector selector;
    readConfiguration(context.programFolder, config, selector);
    app.config() = config;
    app.selector() = selector;
    if (o.index) {
        app.selector().text = *o.index;
        app.config().SUCHEINALLENLISTEN = false;
    }
    if (o.all)
        app.config().SUCHEINALLENLISTEN = true;
    if (o.source)
        app.config().Suchquelle = *o.source;
    if (o.method)
        app.config().Suchverfahren = *o.method;
    SearchOutcome outcome = app.search(o.text, true);
    return !outcome.indexMissing && !outcome.loadFailed;
}

// What the worker does for every row: the full record, read from the file when the index
// holds only an album name.
void fillRecords(HarluneApp& app) {
    ResultTable& rows = app.results();
    for (size_t i = 0; i < rows.size(); ++i) {
        std::string record(rows.record(i, app.backupgrid()));
        std::string title(app.backupgrid().title(rows.row(i).entry));
        if (ReadExtraInfo(title, rows.path(i, app.backupgrid()), record) !=
            ExtraInfoOrigin::Skipped)
            rows.replaceRecord(i, record);
    }
}

std::string forTerminal(std::string_view text) {
    return cp1252ToUtf8(replaceAll(replaceAll(text, "\n\r", "\n"), "\r", ""));
}

const char* const kSearchUsage = "search [--all | --index FILE] [--source t|a|g] [--method g|u|o] "
                                 "[--sort N[:desc]] [--extra] TEXT";
const char* const kTotalUsage =
    "total [--all | --index FILE] [--source t|a|g] [--method g|u|o] TEXT";

// Parses the options and runs the search, then `then` on its results: 2 on a wrong use, 1 when
// the search could not run.
int withSearch(CliContext& context, const std::vector<std::string>& args, bool sortAndExtra,
               const char* usage,
               const std::function<int(HarluneApp&, const SearchOptions&)>& then) {
    SearchOptions o;
    if (!parse(args, o, sortAndExtra)) {
        std::fprintf(stderr, "usage: harlune-cli %s\n", usage);
        return 2;
    }
    SystemClock clock;
    HarluneApp app(context.programFolder, *context.dialogs, clock);
    if (!runSearch(context, o, app))
        return 1;
    return then(app, o);
}

int search(CliContext& context, const std::vector<std::string>& args) {
    return withSearch(
        context, args, true, kSearchUsage, [](HarluneApp& app, const SearchOptions& o) {
            if (o.extra || o.sort)
                fillRecords(app);
            if (o.sort)
                app.sortResults(o.sort, o.descending);
            const ResultTable& rows = app.results();
            const ExtraInfoSwitches switches = app.extraInfoSwitches();
            for (size_t i = 0; i < rows.size(); ++i) {
                std::string line = cp1252ToUtf8(rows.cell0(i));
                if (o.extra)
                    line +=
                        "\t" + cp1252ToUtf8(extraInfoText(switches, rows.path(i, app.backupgrid()),
                                                          rows.record(i, app.backupgrid())));
                std::printf("%s\n", line.c_str());
            }
            std::printf("%s\n", cp1252ToUtf8(countText(rows.size())).c_str());
            return 0;
        });
}

int total(CliContext& context, const std::vector<std::string>& args) {
    return withSearch(
        context, args, false, kTotalUsage, [&](HarluneApp& app, const SearchOptions&) {
            if (app.results().empty()) {
                context.dialogs->information(kSearchFirstText);
                return 0;
            }
            fillRecords(app);
            int64_t seconds = 0;
            for (size_t i = 0; i < app.results().size(); ++i)
                seconds += lengthSeconds(
                    fieldView(app.results().record(i, app.backupgrid()), kFieldLaenge));
            std::printf("%s\n", forTerminal(playTimeText(seconds, app.results().size())).c_str());
            return 0;
        });
}

const CliCommandRegistration searchCommand{{"search", kSearchUsage, search}};
const CliCommandRegistration totalCommand{{"total", kTotalUsage, total}};

} // namespace
} // namespace harlune
