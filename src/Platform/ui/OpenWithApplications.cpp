#include "Platform/ui/OpenWithApplications.h"

#include <QFile>

#include <algorithm>

#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace OpenWithApplications {

namespace {

QString fromUtf8(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

Application describe(GAppInfo* info) {
    Application app;
    app.id = fromUtf8(g_app_info_get_id(info));
    app.name = fromUtf8(g_app_info_get_display_name(info));
    if (app.name.isEmpty())
        app.name = fromUtf8(g_app_info_get_name(info));
    if (GIcon* icon = g_app_info_get_icon(info); icon && G_IS_THEMED_ICON(icon)) {
        const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon));
        if (names && names[0])
            app.iconName = fromUtf8(names[0]);
    }
    return app;
}

bool byName(const Application& a, const Application& b) {
    return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
}

} // namespace

QString contentTypeOfFile(const QByteArray& path) {
    QString type;
    GFile* file = g_file_new_for_path(path.constData());
    if (GFileInfo* info = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                            G_FILE_QUERY_INFO_NONE, nullptr, nullptr)) {
        type = fromUtf8(g_file_info_get_content_type(info));
        g_object_unref(info);
    }
    g_object_unref(file);
    if (type.isEmpty()) {
        gboolean uncertain = false;
        gchar* guessed = g_content_type_guess(path.constData(), nullptr, 0, &uncertain);
        type = fromUtf8(guessed);
        g_free(guessed);
    }
    if (type.isEmpty())
        return QStringLiteral("application/octet-stream");
    if (gchar* mime = g_content_type_get_mime_type(type.toUtf8().constData())) {
        type = fromUtf8(mime);
        g_free(mime);
    }
    return type;
}

std::vector<Application> orderedWithDefaultFirst(std::vector<Application> apps,
                                                 const QString& defaultId) {
    std::stable_sort(apps.begin(), apps.end(), byName);
    if (defaultId.isEmpty())
        return apps;
    auto found = std::find_if(apps.begin(), apps.end(),
                              [&](const Application& app) { return app.id == defaultId; });
    if (found != apps.end())
        std::rotate(apps.begin(), found, found + 1);
    return apps;
}

std::vector<Application> applicationsForContentType(const QString& contentType,
                                                    QString* defaultId) {
    const QByteArray type = contentType.toUtf8();
    std::vector<Application> apps;
    QString defaultApp;
    if (GAppInfo* fallback = g_app_info_get_default_for_type(type.constData(), false)) {
        defaultApp = fromUtf8(g_app_info_get_id(fallback));
        apps.push_back(describe(fallback));
        g_object_unref(fallback);
    }
    GList* all = g_app_info_get_all_for_type(type.constData());
    for (GList* entry = all; entry; entry = entry->next) {
        Application app = describe(G_APP_INFO(entry->data));
        if (app.id.isEmpty() || app.id != defaultApp)
            apps.push_back(std::move(app));
    }
    g_list_free_full(all, g_object_unref);
    if (defaultId)
        *defaultId = defaultApp;
    return orderedWithDefaultFirst(std::move(apps), defaultApp);
}

std::vector<Application> allApplications() {
    std::vector<Application> apps;
    GList* all = g_app_info_get_all();
    for (GList* entry = all; entry; entry = entry->next) {
        GAppInfo* info = G_APP_INFO(entry->data);
        if (g_app_info_should_show(info))
            apps.push_back(describe(info));
    }
    g_list_free_full(all, g_object_unref);
    std::stable_sort(apps.begin(), apps.end(), byName);
    return apps;
}

bool openFile(const QByteArray& path) {
    // GIO takes the path as bytes and makes the URI from them.
    GFile* file = g_file_new_for_path(path.constData());
    gchar* uri = g_file_get_uri(file);
    const bool started = g_app_info_launch_default_for_uri(uri, nullptr, nullptr);
    g_free(uri);
    g_object_unref(file);
    return started;
}

bool openFileWithApplication(const QByteArray& path, const QString& appId) {
    const QByteArray id = appId.toUtf8();
    GAppInfo* info = nullptr;
    GList* all = g_app_info_get_all();
    for (GList* entry = all; entry && !info; entry = entry->next) {
        const char* entryId = g_app_info_get_id(G_APP_INFO(entry->data));
        if (entryId && id == entryId)
            info = G_APP_INFO(g_object_ref(entry->data));
    }
    g_list_free_full(all, g_object_unref);
    if (!info)
        return false;
    GFile* file = g_file_new_for_path(path.constData());
    GList* files = g_list_append(nullptr, file);
    const bool started = g_app_info_launch(info, files, nullptr, nullptr);
    g_list_free(files);
    g_object_unref(file);
    g_object_unref(info);
    return started;
}

} // namespace OpenWithApplications
