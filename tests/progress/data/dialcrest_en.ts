<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A small catalogue of the progress dialog's keys, so that the tests can tell a
     translated label from one shown as given. -->
<TS version="2.1" language="en">
<context>
    <name>SMSUIPlugin</name>
    <message><source>IDS_STC_SENDINGSMS</source><translation>Sending messages...</translation></message>
    <message><source>IDS_STC_DELETINGSMS</source><translation>Deleting messages...</translation></message>
    <message><source>IDS_STC_MOVINGSMS</source><translation>Moving messages...</translation></message>
    <message><source>IDS_STC_COPYINGSMS</source><translation>Copying messages...</translation></message>
    <message><source>IDS_STR_CANCELLING</source><translation>Cancelling...</translation></message>
    <message><source>IDS_BTN_CANCEL</source><translation>Cancel</translation></message>
    <message><source>IDS_PROGRESS_LABEL_25CHAR</source><translation>translated 25</translation></message>
    <message><source>IDS_PROGRESS_LABEL_26CHARS</source><translation>translated 26</translation></message>
</context>
<context>
    <name>XFramePlugin</name>
    <message><source>IDS_OK</source><translation>OK</translation></message>
</context>
</TS>
