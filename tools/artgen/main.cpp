// Draws every picture of the skin and the busy animation into the resource folder.
//   artgen RESOURCE_FOLDER [--preview FOLDER] [--icons FOLDER]
// --icons also draws the desktop icon at each size the package installs.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "pictures.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: artgen RESOURCE_FOLDER [--preview FOLDER] [--icons FOLDER]\n");
        return 2;
    }
    const QString folder = args[1];
    const auto optionFolder = [&args](const char* option) {
        const qsizetype at = args.indexOf(option);
        return at > 0 && at + 1 < args.size() ? args[at + 1] : QString();
    };
    const QString previewFolder = optionFolder("--preview");
    const QString iconFolder = optionFolder("--icons");

    QString missing;
    if (!art::loadFonts(&missing)) {
        std::fprintf(stderr,
                     "artgen: cannot load %s (Debian packages fonts-dejavu-core and "
                     "fonts-dejavu-extra)\n",
                     qPrintable(missing));
        return 1;
    }
    QDir().mkpath(folder);
    art::PictureWriter out(folder);
    const bool ok = art::makeBackgrounds(out) && art::makeMousePanels(out) &&
                    art::makePagePanels(out) && art::makeControls(out) && art::makeDialogs(out) &&
                    art::makeBusyAnimation(out.path("WaitGif", "gif"));
    if (!ok) {
        std::fprintf(stderr, "artgen: could not write every picture into %s\n", qPrintable(folder));
        return 1;
    }
    if (!previewFolder.isEmpty()) {
        QDir().mkpath(previewFolder);
        if (!art::makePreview(out, previewFolder)) {
            std::fprintf(stderr, "artgen: could not write the preview into %s\n",
                         qPrintable(previewFolder));
            return 1;
        }
    }
    if (!iconFolder.isEmpty()) {
        QDir().mkpath(iconFolder);
        art::PictureWriter icons(iconFolder);
        if (!art::makeDesktopIcons(icons)) {
            std::fprintf(stderr, "artgen: could not write the icons into %s\n",
                         qPrintable(iconFolder));
            return 1;
        }
    }
    std::printf("artgen: %lld pictures and the busy animation written to %s\n",
                static_cast<long long>(out.written().size()), qPrintable(folder));
    return 0;
}
