<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>dialcrest</name>
    <message>
        <source>IDS_HOST_STORE_FAILED</source>
        <translation>تعذّر استخدام قاعدة بيانات الرسائل:
%1

تُرك الملف في مكانه. وحتى يمكن استخدامه لا يمكن حفظ أي رسالة أو استقبالها.</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_IO_ERROR</source>
        <translation>أبلغ القرص عن خطأ أثناء قراءة قاعدة بيانات الرسائل أو الكتابة فيها:
%1

تُرك الملف في مكانه. افحص القرص؛ وحتى يزول الخطأ لا يمكن حفظ أي رسالة أو استقبالها.</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_LOCKED</source>
        <translation>برنامج آخر يستخدم قاعدة بيانات الرسائل:
%1

أغلق النسخة الأخرى من التطبيق. وحتى ذلك الحين لا يمكن حفظ أي رسالة أو استقبالها.</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_MOVED</source>
        <translation>كانت قاعدة بيانات الرسائل تالفة وتعذّرت قراءتها. نُقلت إلى:
%1

بُدئت قاعدة بيانات جديدة فارغة. احتفظ بالملف القديم إن أردت محاولة استعادة رسائله.</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_MOVED_TITLE</source>
        <translation>قاعدة بيانات الرسائل تالفة</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_NO_PERMISSION</source>
        <translation>لا يُسمح بالكتابة في قاعدة بيانات الرسائل:
%1

امنح مستخدمك صلاحية الكتابة في هذا المجلد، أو شغّل التطبيق مع الخيار --data ومجلد يمكنك الكتابة فيه. وحتى ذلك الحين لا يمكن حفظ أي رسالة أو استقبالها.</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_NO_SPACE</source>
        <translation>القرص الذي يحمل قاعدة بيانات الرسائل ممتلئ:
%1

أفرغ بعض المساحة على هذا القرص. وحتى ذلك الحين لا يمكن حفظ أي رسالة أو استقبالها؛ والرسائل المحفوظة حتى الآن باقية.</translation>
    </message>
    <message>
        <source>IDS_HOST_SETTINGS_MOVED</source>
        <translation>كان ملف الإعدادات تالفًا وتعذّرت قراءته. نُقل إلى:
%1

تُستخدم الإعدادات الافتراضية؛ غيّرها من جديد حيث كنت قد غيّرتها. احتفظ بالملف القديم إن أردت فحصه.</translation>
    </message>
    <message>
        <source>IDS_HOST_SETTINGS_MOVED_TITLE</source>
        <translation>ملف الإعدادات تالف</translation>
    </message>
    <message>
        <source>IDS_HOST_STORE_TITLE</source>
        <translation>تعذّر حفظ الرسائل</translation>
    </message>
</context>
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_SMS_STORAGE_FAILED</source>
        <translation>تعذّر استخدام قاعدة بيانات الرسائل: لا يمكن حفظ الرسائل، ولن تُستقبل رسائل جديدة.</translation>
    </message>
    <message>
        <source>IDS_SMS_STORAGE_IO_ERROR</source>
        <translation>يُبلغ القرص عن أخطاء: لا يمكن حفظ الرسائل، ولن تُستقبل رسائل جديدة حتى تزول الأخطاء.</translation>
    </message>
    <message>
        <source>IDS_SMS_STORAGE_LOCKED</source>
        <translation>برنامج آخر يستخدم قاعدة بيانات الرسائل: لا يمكن حفظ الرسائل، ولن تُستقبل رسائل جديدة حتى يتركها.</translation>
    </message>
    <message>
        <source>IDS_SMS_STORAGE_NO_PERMISSION</source>
        <translation>لا يمكن الكتابة في مجلد البيانات: لا يمكن حفظ الرسائل، ولن تُستقبل رسائل جديدة حتى تصبح الكتابة ممكنة.</translation>
    </message>
    <message>
        <source>IDS_SMS_STORAGE_NO_SPACE</source>
        <translation>القرص ممتلئ: لا يمكن حفظ الرسائل، ولن تُستقبل رسائل جديدة حتى تتوفر مساحة من جديد.</translation>
    </message>
</context>
</TS>
