<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>dialcrest</name>
    <message>
        <source>IDS_OK</source>
        <translation>موافق</translation>
    </message>
    <message>
        <source>IDS_CANCEL</source>
        <translation>إلغاء</translation>
    </message>
    <message>
        <source>IDS_YES</source>
        <translation>نعم</translation>
    </message>
    <message>
        <source>IDS_NO</source>
        <translation>لا</translation>
    </message>
    <message>
        <source>IDS_STR_SEARCH</source>
        <translation>بحث:</translation>
    </message>
    <message>
        <source>IDS_STR_SEARCH_HINT</source>
        <translation>اكتب لتصفية الرسائل</translation>
    </message>
    <message>
        <source>IDS_HOST_TITLE</source>
        <translation>مدير اتصال Dialcrest</translation>
    </message>
    <message>
        <source>IDS_HOST_MINIFRAME</source>
        <translation>Dialcrest</translation>
    </message>
    <message>
        <source>IDS_HOST_MINIFRAME_SHOWS</source>
        <translation>%1 يطلب انتباهك</translation>
    </message>
    <message>
        <source>IDS_HOST_OPEN</source>
        <translation>فتح</translation>
    </message>
    <message>
        <source>IDS_HOST_NODEVICE</source>
        <translation>لا يوجد مودم</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM</source>
        <translation>المودم جاهز</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM</source>
        <translation>الشريحة</translation>
    </message>
    <message>
        <source>IDS_HOST_NOSIM</source>
        <translation>لا توجد شريحة</translation>
    </message>
    <message>
        <source>IDS_HOST_FLIGHT</source>
        <translation>وضع الطيران</translation>
    </message>
    <message>
        <source>IDS_HOST_CANSEND</source>
        <translation>يمكن إرسال الرسائل</translation>
    </message>
    <message>
        <source>IDS_HOST_CANNOTSEND</source>
        <translation>لا يمكن إرسال الرسائل</translation>
    </message>
    <message>
        <source>IDS_HOST_UNREAD</source>
        <translation>الرسائل غير المقروءة: %1</translation>
    </message>
    <message>
        <source>IDS_HOST_CALL_NODEVICE</source>
        <translation>تعذّر الاتصال: لا يوجد مودم</translation>
    </message>
    <message>
        <source>IDS_HOST_HANGUP</source>
        <translation>إنهاء المكالمة</translation>
    </message>
    <message>
        <source>IDS_HOST_CALL_TITLE</source>
        <translation>مكالمة صوتية</translation>
    </message>
    <message>
        <source>IDS_HOST_CALLING</source>
        <translation>جارٍ الاتصال بـ %1…</translation>
    </message>
    <message>
        <source>IDS_HOST_ABOUT</source>
        <translation>&amp;حول</translation>
    </message>
    <message>
        <source>IDS_HOST_ABOUT_TITLE</source>
        <translation>حول Dialcrest</translation>
    </message>
    <message>
        <source>IDS_HOST_ABOUT_TEXT</source>
        <translation>&lt;p&gt;&lt;b&gt;Dialcrest %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;مدير اتصال لمودمات النطاق العريض المحمولة عبر USB، مع الرسائل النصية.&lt;/p&gt;&lt;p&gt;يعمل هذا الإصدار على مودم محاكى: استخدم قائمة المودم لتلقي الرسائل أو إخراج بطاقة SIM أو فصل المودم.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>IDS_HOST_ADD</source>
        <translation>إضافة</translation>
    </message>
    <message>
        <source>IDS_HOST_ADDRESSBOOK</source>
        <translation>دفتر العناوين</translation>
    </message>
    <message>
        <source>IDS_HOST_FILL</source>
        <translation>ملء مساحة التخزين</translation>
    </message>
    <message>
        <source>IDS_HOST_FILLED</source>
        <translation>تم ملء مساحة التخزين</translation>
    </message>
    <message>
        <source>IDS_HOST_FILL_DEVICE</source>
        <translation>ذاكرة المودم</translation>
    </message>
    <message>
        <source>IDS_HOST_FILL_PC</source>
        <translation>هذا الحاسوب</translation>
    </message>
    <message>
        <source>IDS_HOST_FILL_SIM</source>
        <translation>بطاقة SIM</translation>
    </message>
    <message>
        <source>IDS_HOST_FLIGHTMODE</source>
        <translation>وضع الطيران</translation>
    </message>
    <message>
        <source>IDS_HOST_GENERAL</source>
        <translation>عام</translation>
    </message>
    <message>
        <source>IDS_HOST_LANGUAGE</source>
        <translation>اللغة</translation>
    </message>
    <message>
        <source>IDS_HOST_MENU_FILE</source>
        <translation>&amp;ملف</translation>
    </message>
    <message>
        <source>IDS_HOST_MENU_HELP</source>
        <translation>&amp;مساعدة</translation>
    </message>
    <message>
        <source>IDS_HOST_MENU_MODEM</source>
        <translation>&amp;المودم</translation>
    </message>
    <message>
        <source>IDS_HOST_MENU_SETTINGS</source>
        <translation>&amp;الإعدادات</translation>
    </message>
    <message>
        <source>IDS_HOST_MENU_VIEW</source>
        <translation>&amp;عرض</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_FAILED</source>
        <translation>%1: رفض المودم الطلب (%2)</translation>
    </message>
    <message>
        <source>IDS_HOST_NAME</source>
        <translation>الاسم</translation>
    </message>
    <message>
        <source>IDS_HOST_NETSEND</source>
        <translation>الشبكة تقبل الرسائل</translation>
    </message>
    <message>
        <source>IDS_HOST_NUMBER</source>
        <translation>الرقم</translation>
    </message>
    <message>
        <source>IDS_HOST_PAGE_CONNECTION</source>
        <translation>الاتصال</translation>
    </message>
    <message>
        <source>IDS_HOST_PAGE_SMS</source>
        <translation>الرسائل</translation>
    </message>
    <message>
        <source>IDS_HOST_PICK</source>
        <translation>اختيار المستلمين</translation>
    </message>
    <message>
        <source>IDS_HOST_PLUGGED</source>
        <translation>تم توصيل المودم</translation>
    </message>
    <message>
        <source>IDS_HOST_PLUGIN_MISSING</source>
        <translation>الرسائل غير متاحة.</translation>
    </message>
    <message>
        <source>IDS_HOST_QUIT</source>
        <translation>&amp;خروج</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVE</source>
        <translation>تلقي رسالة</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVED</source>
        <translation>تم تلقي رسالة</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVED_CB</source>
        <translation>تم تلقي رسالة بث خلوي</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVED_FLASH</source>
        <translation>تم تلقي رسالة فورية</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVED_REPORT</source>
        <translation>تم تلقي تقرير تسليم</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVE_CB</source>
        <translation>تلقي رسالة بث خلوي</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVE_CUSTOM</source>
        <translation>تلقي رسالة من…</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVE_FLASH</source>
        <translation>تلقي رسالة فورية</translation>
    </message>
    <message>
        <source>IDS_HOST_RECEIVE_REPORT</source>
        <translation>تلقي تقرير تسليم</translation>
    </message>
    <message>
        <source>IDS_HOST_REMOVE</source>
        <translation>إزالة</translation>
    </message>
    <message>
        <source>IDS_HOST_RESTORE</source>
        <translation>استعادة سعات التخزين</translation>
    </message>
    <message>
        <source>IDS_HOST_RESTORED</source>
        <translation>تمت استعادة سعات التخزين</translation>
    </message>
    <message>
        <source>IDS_HOST_SAVECONTACT</source>
        <translation>حفظ جهة الاتصال</translation>
    </message>
    <message>
        <source>IDS_HOST_SENDER</source>
        <translation>من</translation>
    </message>
    <message>
        <source>IDS_HOST_SETTINGS</source>
        <translation>الإعدادات</translation>
    </message>
    <message>
        <source>IDS_HOST_SETTINGS_OPEN</source>
        <translation>&amp;الإعدادات…</translation>
    </message>
    <message>
        <source>IDS_HOST_SIMIN</source>
        <translation>تم إدخال بطاقة SIM</translation>
    </message>
    <message>
        <source>IDS_HOST_STORAGE</source>
        <translation>التخزين</translation>
    </message>
    <message>
        <source>IDS_HOST_STORAGE_DEFAULT</source>
        <translation>مكان حفظ الرسائل الواردة</translation>
    </message>
    <message>
        <source>IDS_HOST_TEXT</source>
        <translation>النص</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_UNLOCK_TITLE</source>
        <translation>فتح قفل شريحة SIM</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_UNLOCK</source>
        <translation>فتح قفل شريحة SIM…</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_ASK_PIN</source>
        <translation>تطلب شريحة SIM رمز PIN الخاص بها (من 4 إلى 8 أرقام).</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_ASK_PUK</source>
        <translation>شريحة SIM مقفلة. أدخل رمز PUK الخاص بها (8 أرقام، تجده على حامل الشريحة أو لدى المشغّل) واختر رمز PIN جديدًا.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_BLOCKED</source>
        <translation>شريحة SIM محظورة: لم تتبقَّ أي محاولات لرمز PUK. لا يستطيع المساعدة الآن إلا مشغّل الشبكة.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_ATTEMPTS</source>
        <translation>المحاولات المتبقية: %1</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_ATTEMPTS_UNKNOWN</source>
        <translation>لا تُظهر شريحة SIM عدد المحاولات المتبقية.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_CODE</source>
        <translation>الرمز:</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_NEW_PIN</source>
        <translation>رمز PIN الجديد:</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_CONFIRM_PIN</source>
        <translation>رمز PIN الجديد مرة أخرى:</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_PUK_FORMAT</source>
        <translation>يتكوّن رمز PUK من 8 أرقام.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_PIN_FORMAT</source>
        <translation>يتكوّن رمز PIN من 4 إلى 8 أرقام.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_PIN_MISMATCH</source>
        <translation>رمز PIN الجديد وتكراره غير متطابقين.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_WRONG</source>
        <translation>هذا الرمز غير صحيح.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_NOT_ALLOWED</source>
        <translation>لا يسمح لك هذا النظام بفتح قفل شريحة SIM (اطلب من المسؤول صلاحية التحكم في أجهزة المودم).</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_FAILED</source>
        <translation>لم يقبل المودم الرمز (الخطأ %1).</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_ENABLE</source>
        <translation>تشغيل المودم</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_ENABLE_DENIED</source>
        <translation>لا يسمح لك هذا النظام بتشغيل المودم.</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_ENABLE_FAILED</source>
        <translation>تعذّر تشغيل المودم (الخطأ %1).</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_CHOICE</source>
        <translation>&amp;المودم المستخدَم</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_NONE</source>
        <translation>لم يُعثر على أي مودم</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_CHOICE_BUSY</source>
        <translation>تجري الآن عملية إرسال رسالة أو نقل رسائل. اختر المودم الآخر بعد انتهائها.</translation>
    </message>
    <message>
        <source>IDS_HOST_MODEM_CHOICE_GONE</source>
        <translation>لم يعد ذلك المودم موجودًا.</translation>
    </message>
    <message>
        <source>IDS_HOST_SIM_CHECKING</source>
        <translation>جارٍ التحقق من الرمز مع شريحة SIM…</translation>
    </message>
</context>
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_BTN_BROWSE</source>
        <translation>استعراض...</translation>
    </message>
    <message>
        <source>IDS_BTN_CANCEL</source>
        <translation>إلغاء</translation>
    </message>
    <message>
        <source>IDS_BTN_CLOSE</source>
        <translation>إغلاق</translation>
    </message>
    <message>
        <source>IDS_BTN_PLAY</source>
        <translation>تشغيل</translation>
    </message>
    <message>
        <source>IDS_BTN_SAVE</source>
        <translation>حفظ</translation>
    </message>
    <message>
        <source>IDS_BTN_SENDTO</source>
        <translation>إرسال إلى...</translation>
    </message>
    <message>
        <source>IDS_BTN_STOP</source>
        <translation>إيقاف</translation>
    </message>
    <message>
        <source>IDS_BTN_VIEW</source>
        <translation>عرض</translation>
    </message>
    <message>
        <source>IDS_CBX_RECEIPT</source>
        <translation>طلب تقرير التسليم</translation>
    </message>
    <message>
        <source>IDS_CBX_SOUNDALERT</source>
        <translation>تشغيل صوت عند وصول رسالة</translation>
    </message>
    <message>
        <source>IDS_CBX_VISIONALERT</source>
        <translation>إظهار تنبيه عند وصول رسالة</translation>
    </message>
    <message>
        <source>IDS_GBX_ALERT</source>
        <translation>تنبيهات الرسائل الجديدة</translation>
    </message>
    <message>
        <source>IDS_GBX_SMSSETTING</source>
        <translation>مركز الرسائل</translation>
    </message>
    <message>
        <source>IDS_GBX_SMS_SAVE_MODE</source>
        <translation>حفظ الرسائل الجديدة</translation>
    </message>
    <message>
        <source>IDS_RAD_SMS_SAVE_PC</source>
        <translation>على هذا الحاسوب</translation>
    </message>
    <message>
        <source>IDS_RAD_SMS_SAVE_SIM</source>
        <translation>على بطاقة %s</translation>
    </message>
    <message>
        <source>IDS_RAD_NORMAL</source>
        <translation>عادية</translation>
    </message>
    <message>
        <source>IDS_RAD_URGENT</source>
        <translation>عاجلة</translation>
    </message>
    <message>
        <source>IDS_RAD_EMERGENCY</source>
        <translation>طارئة</translation>
    </message>
    <message>
        <source>IDS_STC_PRIORITY</source>
        <translation>الأولوية</translation>
    </message>
    <message>
        <source>IDS_STC_SMSCENTERNUMBER</source>
        <translation>رقم مركز الرسائل:</translation>
    </message>
    <message>
        <source>IDS_STC_SOUNDFILE</source>
        <translation>ملف الصوت:</translation>
    </message>
    <message>
        <source>IDS_STC_VALIDTIME</source>
        <translation>مدة الصلاحية:</translation>
    </message>
    <message>
        <source>IDS_SETTING_NAME</source>
        <translation>الرسائل النصية</translation>
    </message>
    <message>
        <source>IDS_VALIDITY_12HOURS</source>
        <translation>12 ساعة</translation>
    </message>
    <message>
        <source>IDS_VALIDITY_24HOURS</source>
        <translation>24 ساعة</translation>
    </message>
    <message>
        <source>IDS_VALIDITY_30DAYS</source>
        <translation>30 يومًا</translation>
    </message>
    <message>
        <source>IDS_VALIDITY_63WEEKS</source>
        <translation>63 أسبوعًا (الحد الأقصى)</translation>
    </message>
    <message>
        <source>IDS_STR_AUDIOFILENOTEXIST</source>
        <translation>ملف الصوت غير موجود أو ليس ملف WAV أو MIDI. اختر ملفًا آخر.</translation>
    </message>
    <message>
        <source>IDS_STR_OPENAUDIOFILEFAILED</source>
        <translation>تعذّر تشغيل ملف الصوت.</translation>
    </message>
    <message>
        <source>IDS_STR_CENTERNUMBERNULL</source>
        <translation>أدخل رقم مركز الرسائل.</translation>
    </message>
    <message>
        <source>IDS_ERROR_CAPTION</source>
        <translation>خطأ</translation>
    </message>
    <message>
        <source>IDS_PROMPT_CAPTION</source>
        <translation>تنبيه</translation>
    </message>
    <message>
        <source>IDS_STR_PROMPT</source>
        <translation>تأكيد</translation>
    </message>
    <message>
        <source>IDS_EXPORT_SMSSELECT</source>
        <translation>تصدير المحدد...</translation>
    </message>
    <message>
        <source>IDS_EXPORT_SMSALL</source>
        <translation>تصدير الكل...</translation>
    </message>
    <message>
        <source>IDS_SMS_BACKUPSUCCESS</source>
        <translation>تم تصدير الرسائل.</translation>
    </message>
    <message>
        <source>IDS_SMS_BACKUPFAILURE</source>
        <translation>تعذّر تصدير الرسائل. تحقق من إمكانية الكتابة في الملف.</translation>
    </message>
    <message>
        <source>IDS_LBL_SUCCESS</source>
        <translation>تم التسليم</translation>
    </message>
    <message>
        <source>IDS_LBL_FAILED</source>
        <translation>فشل</translation>
    </message>
    <message>
        <source>IDS_LBL_PENDING</source>
        <translation>قيد الانتظار</translation>
    </message>
    <message>
        <source>IDS_STC_ALLSUCCESS</source>
        <translation>تم إرسال جميع الرسائل.</translation>
    </message>
    <message>
        <source>IDS_STC_ALLFAILED</source>
        <translation>تعذّر إرسال أي رسالة.</translation>
    </message>
    <message>
        <source>IDS_STC_SOMEFAILED</source>
        <translation>تعذّر إرسال بعض الرسائل.</translation>
    </message>
    <message>
        <source>IDS_STC_SENDINGSMS</source>
        <translation>جارٍ إرسال الرسائل...</translation>
    </message>
    <message>
        <source>IDS_STC_DELETINGSMS</source>
        <translation>جارٍ حذف الرسائل...</translation>
    </message>
    <message>
        <source>IDS_STC_MOVINGSMS</source>
        <translation>جارٍ نقل الرسائل...</translation>
    </message>
    <message>
        <source>IDS_STC_COPYINGSMS</source>
        <translation>جارٍ نسخ الرسائل...</translation>
    </message>
    <message>
        <source>IDS_STR_CANCELLING</source>
        <translation>جارٍ الإلغاء...</translation>
    </message>
    <message>
        <source>IDS_STR_ALL_FAILED</source>
        <translation>فشلت العملية لجميع الرسائل.</translation>
    </message>
    <message>
        <source>IDS_STR_SOME_FAILED</source>
        <translation>فشلت العملية لبعض الرسائل.</translation>
    </message>
    <message>
        <source>IDS_STR_MEMORY_IS_FULL</source>
        <translation>ذاكرة %s ممتلئة.</translation>
    </message>
    <message>
        <source>IDS_STC_SIMSMSFULL</source>
        <translation>مساحة الرسائل في بطاقة %s ممتلئة. احذف بعض الرسائل لتلقي رسائل جديدة.</translation>
    </message>
    <message>
        <source>IDS_STC_DEVICESMSFULL</source>
        <translation>مساحة الرسائل في الجهاز ممتلئة. احذف بعض الرسائل لتلقي رسائل جديدة.</translation>
    </message>
    <message>
        <source>IDS_STC_LOCALSMSFULL</source>
        <translation>مساحة الرسائل على هذا الحاسوب ممتلئة. احذف بعض الرسائل لتلقي رسائل جديدة.</translation>
    </message>
    <message>
        <source>IDS_DualModeCard_STC_FULL</source>
        <translation>مساحة الرسائل في البطاقة ممتلئة. لا يمكن تلقي رسائل جديدة حتى تحذف بعضها. هل تريد فتح الرسائل الآن؟</translation>
    </message>
    <message>
        <source>IDS_LST_TEL</source>
        <translation>الرقم</translation>
    </message>
    <message>
        <source>IDS_LST_NAME</source>
        <translation>الاسم</translation>
    </message>
    <message>
        <source>IDS_LST_CONTENT</source>
        <translation>الرسالة</translation>
    </message>
    <message>
        <source>IDS_LST_TIME</source>
        <translation>الوقت</translation>
    </message>
    <message>
        <source>IDS_STR_SMSCOUNT</source>
        <translation>عدد الرسائل: </translation>
    </message>
    <message>
        <source>IDS_MENU_NEW</source>
        <translation>رسالة جديدة&#x9;Ctrl+N</translation>
    </message>
    <message>
        <source>IDS_MENU_EDIT</source>
        <translation>تحرير&#x9;Ctrl+E</translation>
    </message>
    <message>
        <source>IDS_MENU_SEND</source>
        <translation>إرسال&#x9;Ctrl+Return</translation>
    </message>
    <message>
        <source>IDS_MENU_REPLY</source>
        <translation>رد&#x9;Ctrl+R</translation>
    </message>
    <message>
        <source>IDS_MENU_FORWARD</source>
        <translation>إعادة توجيه&#x9;Ctrl+L</translation>
    </message>
    <message>
        <source>IDS_MENU_CALL</source>
        <translation>اتصال&#x9;Ctrl+D</translation>
    </message>
    <message>
        <source>IDS_MENU_VIDEO_CALL</source>
        <translation>مكالمة فيديو</translation>
    </message>
    <message>
        <source>IDS_MENU_SAVENUMBER</source>
        <translation>حفظ الرقم في جهات الاتصال&#x9;Ctrl+Shift+S</translation>
    </message>
    <message>
        <source>IDS_MENU_DELETE</source>
        <translation>حذف&#x9;Del</translation>
    </message>
    <message>
        <source>IDS_MENU_CLEARALL</source>
        <translation>حذف الكل&#x9;Ctrl+Shift+Del</translation>
    </message>
    <message>
        <source>IDS_MENU_RECOVER</source>
        <translation>استعادة&#x9;Ctrl+Shift+R</translation>
    </message>
    <message>
        <source>IDS_MENU_SEARCH</source>
        <translation>بحث&#x9;Ctrl+F</translation>
    </message>
    <message>
        <source>IDS_MENU_MOVE2</source>
        <translation>نقل إلى</translation>
    </message>
    <message>
        <source>IDS_MENU_MOVEAll2</source>
        <translation>نقل الكل إلى</translation>
    </message>
    <message>
        <source>IDS_MENU_COPY2</source>
        <translation>نسخ إلى</translation>
    </message>
    <message>
        <source>IDS_MENU_COPYAll2</source>
        <translation>نسخ الكل إلى</translation>
    </message>
    <message>
        <source>IDS_TIP_NEW</source>
        <translation>رسالة جديدة&#x9;Ctrl+N</translation>
    </message>
    <message>
        <source>IDS_TIP_DELETE</source>
        <translation>حذف&#x9;Del</translation>
    </message>
    <message>
        <source>IDS_TIP_SEND</source>
        <translation>إرسال&#x9;Ctrl+Return</translation>
    </message>
    <message>
        <source>IDS_TIP_REPLY</source>
        <translation>رد&#x9;Ctrl+R</translation>
    </message>
    <message>
        <source>IDS_TIP_FORWARD</source>
        <translation>إعادة توجيه&#x9;Ctrl+L</translation>
    </message>
    <message>
        <source>IDS_TIP_CALL</source>
        <translation>اتصال&#x9;Ctrl+D</translation>
    </message>
    <message>
        <source>IDS_TIP_SEARCH</source>
        <translation>بحث&#x9;Ctrl+F</translation>
    </message>
    <message>
        <source>IDS_TREE_LOCAL</source>
        <translation>هذا الحاسوب</translation>
    </message>
    <message>
        <source>IDS_CARD_SIM</source>
        <translation>SIM</translation>
    </message>
    <message>
        <source>IDS_CARD_UIM</source>
        <translation>UIM</translation>
    </message>
    <message>
        <source>IDS_TREE_SIM</source>
        <translation>بطاقة %s</translation>
    </message>
    <message>
        <source>IDS_TREE_DEVICE</source>
        <translation>الجهاز</translation>
    </message>
    <message>
        <source>IDS_TREE_LINBOX</source>
        <translation>صندوق الوارد</translation>
    </message>
    <message>
        <source>IDS_TREE_LOUTBOX</source>
        <translation>صندوق الصادر</translation>
    </message>
    <message>
        <source>IDS_TREE_LSENTITEMS</source>
        <translation>العناصر المرسلة</translation>
    </message>
    <message>
        <source>IDS_TREE_LDRAFT</source>
        <translation>المسودات</translation>
    </message>
    <message>
        <source>IDS_TREE_LFAVORITE</source>
        <translation>المفضلة</translation>
    </message>
    <message>
        <source>IDS_TREE_LTRASH</source>
        <translation>سلة المحذوفات</translation>
    </message>
    <message>
        <source>IDS_TREE_LREPORT</source>
        <translation>تقارير التسليم</translation>
    </message>
    <message>
        <source>IDS_TREE_CBSBOX</source>
        <translation>رسائل البث الخلوي</translation>
    </message>
    <message>
        <source>IDS_TREE_SINBOX</source>
        <translation>صندوق الوارد</translation>
    </message>
    <message>
        <source>IDS_TREE_SOUTBOX</source>
        <translation>صندوق الصادر</translation>
    </message>
    <message>
        <source>IDS_TREE_DINBOX</source>
        <translation>صندوق الوارد</translation>
    </message>
    <message>
        <source>IDS_TREE_DOUTBOX</source>
        <translation>صندوق الصادر</translation>
    </message>
    <message>
        <source>IDS_TREE_READING_DATA</source>
        <translation> (جارٍ القراءة...)</translation>
    </message>
    <message>
        <source>IDS_TTL_NEW</source>
        <translation>رسالة جديدة</translation>
    </message>
    <message>
        <source>IDS_TTL_SEND</source>
        <translation>إرسال</translation>
    </message>
    <message>
        <source>IDS_TTL_REPLY</source>
        <translation>رد</translation>
    </message>
    <message>
        <source>IDS_TTL_FORWARD</source>
        <translation>إعادة توجيه</translation>
    </message>
    <message>
        <source>IDS_TTL_EDIT</source>
        <translation>تحرير المسودة</translation>
    </message>
    <message>
        <source>IDS_STC_NEWMSG</source>
        <translation>رسالة جديدة</translation>
    </message>
    <message>
        <source>IDS_STR_SAVECHANGES</source>
        <translation>هل تريد حفظ الرسالة كمسودة قبل الإغلاق؟</translation>
    </message>
    <message>
        <source>IDS_STR_NUMBERINVALID</source>
        <translation>رقم الهاتف غير صالح. تحقق من الرقم وحاول مرة أخرى.</translation>
    </message>
    <message>
        <source>IDS_STR_DELETE</source>
        <translation>هل تريد حذف الرسائل المحددة؟</translation>
    </message>
    <message>
        <source>IDS_STR_CLEARALL</source>
        <translation>هل تريد حذف جميع الرسائل في هذا المجلد؟</translation>
    </message>
    <message>
        <source>IDS_STR_MOVE2</source>
        <translation>هل تريد نقل الرسائل المحددة إلى %s؟</translation>
    </message>
    <message>
        <source>IDS_STR_MOVEALL2</source>
        <translation>هل تريد نقل جميع الرسائل في هذا المجلد إلى %s؟</translation>
    </message>
    <message>
        <source>IDS_STR_COPY2</source>
        <translation>هل تريد نسخ الرسائل المحددة إلى %s؟</translation>
    </message>
    <message>
        <source>IDS_STR_COPYALL2</source>
        <translation>هل تريد نسخ جميع الرسائل في هذا المجلد إلى %s؟</translation>
    </message>
    <message>
        <source>IDS_STR_CALLNUMBERISNULL</source>
        <translation>لا يوجد رقم للاتصال به في هذه الرسالة.</translation>
    </message>
    <message>
        <source>IDS_STR_CALLNUMBERONLYONE</source>
        <translation>يمكن الاتصال برقم واحد فقط في كل مرة.</translation>
    </message>
    <message>
        <source>IDS_STR_MAKECALLFAILED</source>
        <translation>تعذّر بدء المكالمة.</translation>
    </message>
    <message>
        <source>IDS_STR_SAVENUMBERISNULL</source>
        <translation>لا يوجد رقم للحفظ في هذه الرسالة.</translation>
    </message>
    <message>
        <source>IDS_STR_SAVENUMBERONLYONE</source>
        <translation>يمكن حفظ رقم واحد فقط في كل مرة.</translation>
    </message>
</context>
</TS>
