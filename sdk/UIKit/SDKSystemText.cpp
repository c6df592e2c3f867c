#include <UIKit/SDKSystemText.h>

#include <array>
#include <vector>

#include <Foundation/NSBundle.h>
#include <Foundation/NSLocale.h>

namespace {

// The languages, in the order of the translations below.
const std::vector<std::string> kLanguages = {"de", "fr", "es", "ja", "zh-Hans", "ru", "ar", "he"};

struct Word {
    const char* english;
    std::array<const char*, 8> translations;
};

const Word kWords[] = {
    {"Settings",
     {"Einstellungen", "Réglages", "Ajustes", "設定", "设置", "Настройки", "الإعدادات", "הגדרות"}},
    {"Back", {"Zurück", "Retour", "Atrás", "戻る", "返回", "Назад", "رجوع", "חזרה"}},
    {"Cancel",
     {"Abbrechen", "Annuler", "Cancelar", "キャンセル", "取消", "Отменить", "إلغاء", "ביטול"}},
    {"OK", {"OK", "OK", "Aceptar", "OK", "好", "ОК", "حسنًا", "אישור"}},
    {"To:", {"An:", "À :", "Para:", "宛先:", "收件人:", "Кому:", "إلى:", "אל:"}},
    {"Subject:",
     {"Betreff:", "Objet :", "Asunto:", "件名:", "主题:", "Тема:", "الموضوع:", "נושא:"}},
    {"Done", {"Fertig", "OK", "OK", "完了", "完成", "Готово", "تم", "סיום"}},
    {"Send", {"Senden", "Envoyer", "Enviar", "送信", "发送", "Отправить", "إرسال", "שליחה"}},
    {"New Message",
     {"Neue E-Mail", "Nouveau message", "Mensaje nuevo", "新規メッセージ", "新邮件",
      "Новое сообщение", "رسالة جديدة", "הודעה חדשה"}},
    {"Delete Draft",
     {"Entwurf löschen", "Supprimer le brouillon", "Eliminar borrador", "下書きを削除", "删除草稿",
      "Удалить черновик", "حذف المسودة", "מחיקת הטיוטה"}},
    {"Save Draft",
     {"Entwurf sichern", "Enregistrer le brouillon", "Guardar borrador", "下書きを保存", "存储草稿",
      "Сохранить черновик", "حفظ المسودة", "שמירת הטיוטה"}},
    {"Copy", {"Kopieren", "Copier", "Copiar", "コピー", "拷贝", "Скопировать", "نسخ", "העתקה"}},
    {"Add to Reading List",
     {"Zur Leseliste hinzufügen", "Ajouter à la liste de lecture", "Añadir a la lista de lectura",
      "リーディングリストに追加", "添加到阅读列表", "Добавить в список для чтения",
      "إضافة إلى قائمة القراءة", "הוספה לרשימת הקריאה"}},
    {"Save to Files",
     {"In „Dateien“ sichern", "Enregistrer dans Fichiers", "Guardar en Archivos",
      "“ファイル”に保存", "存储到“文件”", "Сохранить в «Файлы»", "حفظ في الملفات", "שמירה בקבצים"}},
    {"Grid", {"Raster", "Grille", "Cuadrícula", "グリッド", "网格", "Сетка", "شبكة", "רשת"}},
    {"Spectrum",
     {"Spektrum", "Spectre", "Espectro", "スペクトル", "光谱", "Спектр", "طيف", "ספקטרום"}},
    {"Sliders",
     {"Regler", "Curseurs", "Reguladores", "スライダ", "滑块", "Бегунки", "أشرطة التمرير",
      "מחוונים"}},
    {"Red", {"Rot", "Rouge", "Rojo", "赤", "红色", "Красный", "أحمر", "אדום"}},
    {"Green", {"Grün", "Vert", "Verde", "緑", "绿色", "Зеленый", "أخضر", "ירוק"}},
    {"Blue", {"Blau", "Bleu", "Azul", "青", "蓝色", "Синий", "أزرق", "כחול"}},
    {"Hex Color #",
     {"Hex-Farbe #", "Couleur hex #", "Color hex #", "16進カラー #", "十六进制颜色 #", "Цвет Hex #",
      "لون سداسي عشري #", "צבע הקסדצימלי #"}},
};

} // namespace

std::string SDKSystemText::language() {
    std::vector<std::string> offered{"en"};
    offered.insert(offered.end(), kLanguages.begin(), kLanguages.end());
    const std::vector<std::string> chosen =
        NSBundle::preferredLocalizationsFromArray(offered, NSLocale::preferredLanguages());
    return chosen.empty() ? "en" : chosen.front();
}

std::string SDKSystemText::localized(const std::string& english) {
    const std::string chosen = language();
    for (size_t i = 0; i < kLanguages.size(); ++i) {
        if (kLanguages[i] != chosen) {
            continue;
        }
        for (const Word& word : kWords) {
            if (english == word.english) {
                return word.translations[i];
            }
        }
    }
    return english;
}
