<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fa_IR">
<context>
    <name>AddNewContact</name>
    <message>
        <source>AddNewContact</source>
        <translation>افزودن مخاطب</translation>
    </message>
    <message>
        <source>_AddNewContact</source>
        <translation>افزودن مخاطب</translation>
    </message>
    <message>
        <source>_Create</source>
        <translation>ایجاد</translation>
    </message>
    <message>
        <source>_EnterName</source>
        <translation>لطفاً نامی وارد کنید</translation>
    </message>
    <message>
        <source>_ErrorMobileNumberNotValid</source>
        <translation>شماره موبایل معتبر نیست</translation>
    </message>
    <message>
        <source>_Family</source>
        <translation>نام خانوادگی</translation>
    </message>
    <message>
        <source>_Ignor</source>
        <translation>انصراف</translation>
    </message>
    <message>
        <source>_Name</source>
        <translation>نام</translation>
    </message>
</context>
<context>
    <name>ChannelAbstractWidget</name>
    <message>
        <source>_FollowString</source>
        <translation>دنبال کردن</translation>
    </message>
    <message>
        <source>_VisitString</source>
        <translation>مشاهده</translation>
    </message>
</context>
<context>
    <name>ChannelCategoryPopUp</name>
    <message>
        <source>_BrowseChannel</source>
        <translation>مرور کانال‌ها</translation>
    </message>
    <message>
        <source>_ChooseCategory</source>
        <translation>انتخاب %1</translation>
    </message>
</context>
<context>
    <name>ChannelLookupViewer</name>
    <message>
        <source>_Join</source>
        <translation>عضویت</translation>
    </message>
    <message>
        <source>_Members</source>
        <translation>عضو</translation>
    </message>
    <message>
        <source>_Preview</source>
        <translation>پیش‌نمایش</translation>
    </message>
    <message>
        <source>_Return</source>
        <translation>بازگشت</translation>
    </message>
    <message>
        <source>_SendMsg</source>
        <translation>ارسال پیام</translation>
    </message>
</context>
<context>
    <name>ChannelOwnerWidget</name>
    <message>
        <source>_ChangeOwner</source>
        <translation>تغییر مالک</translation>
    </message>
</context>
<context>
    <name>ChannelProfileAdmin</name>
    <message>
        <source>_PickNewMembers</source>
        <translation>افزودن عضو به کانال</translation>
    </message>
    <message>
        <source>_PickManagers</source>
        <translation>انتخاب مدیران تازه</translation>
    </message>
    <message>
        <source>_PickMembersToRemove</source>
        <translation>انتخاب اعضا برای حذف</translation>
    </message>
    <message>
        <source>_NoFollowerToRemove</source>
        <translation>کانال دنبال‌کننده‌ای برای حذف ندارد</translation>
    </message>
    <message>
        <source>_Remove</source>
        <translation>حذف</translation>
    </message>
    <message>
        <source>_RemoveMembersWarningMessage</source>
        <translation>آیا اعضای انتخاب‌شده از کانال حذف شوند؟</translation>
    </message>
    <message>
        <source>_DeleteChannelWarningMessage</source>
        <translation>آیا از حذف این کانال اطمینان دارید؟</translation>
    </message>
    <message>
        <source>_RemoveManagerWarningMessage</source>
        <translation>آیا این مدیر از مدیریت کانال کنار گذاشته شود؟</translation>
    </message>
    <message>
        <source>Add Member</source>
        <translation>افزودن عضو</translation>
    </message>
    <message>
        <source>Delete Member</source>
        <translation>حذف عضو</translation>
    </message>
    <message>
        <source>_AddManager</source>
        <translation>افزودن مدیر</translation>
    </message>
    <message>
        <source>_ChannelDescription</source>
        <translation>توضیحات</translation>
    </message>
    <message>
        <source>_ChannelManagers</source>
        <translation>مدیران</translation>
    </message>
    <message>
        <source>_ChannelOwner</source>
        <translation>مالک</translation>
    </message>
    <message>
        <source>_DeleteChannel</source>
        <translation>حذف کانال</translation>
    </message>
    <message>
        <source>_EditChannel</source>
        <translation>ویرایش کانال</translation>
    </message>
    <message>
        <source>_MembersCount</source>
        <translation> عضو</translation>
    </message>
    <message>
        <source>_Title</source>
        <translation>اطلاعات</translation>
    </message>
</context>
<context>
    <name>ChannelProfileNormal</name>
    <message>
        <source>_ChannelDescription</source>
        <translation>توضیحات</translation>
    </message>
    <message>
        <source>_Config</source>
        <translation>تنظیمات</translation>
    </message>
    <message>
        <source>_LeaveChannel</source>
        <translation>خروج از کانال</translation>
    </message>
    <message>
        <source>_LeaveChannelWarningMessage</source>
        <translation>از این کانال خارج می‌شوید؟</translation>
    </message>
    <message>
        <source>_MembersCount</source>
        <translation> عضو</translation>
    </message>
    <message>
        <source>_ReceiveNotification</source>
        <translation>بی‌صدا کردن اعلان‌ها</translation>
    </message>
    <message>
        <source>_Title</source>
        <translation>اطلاعات</translation>
    </message>
</context>
<context>
    <name>ChannelTab</name>
    <message>
        <source>No channel find.</source>
        <translation>کانالی یافت نشد.</translation>
    </message>
</context>
<context>
    <name>ChannelWidget</name>
    <message>
        <source>Audio</source>
        <translation>صوت</translation>
    </message>
    <message>
        <source>File</source>
        <translation>فایل</translation>
    </message>
    <message>
        <source>GIF</source>
        <translation>گیف</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>تصویر</translation>
    </message>
    <message>
        <source>Poll</source>
        <translation>نظرسنجی</translation>
    </message>
    <message>
        <source>Sticker</source>
        <translation>استیکر</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>ویدیو</translation>
    </message>
</context>
<context>
    <name>ChatMember</name>
    <message>
        <source>_Delete</source>
        <translation>حذف</translation>
    </message>
    <message>
        <source>_DeleteUserWarning</source>
        <translation>این عضو از گروه حذف شود؟</translation>
    </message>
    <message>
        <source>_SeeProfile</source>
        <translation>مشاهده نمایه</translation>
    </message>
    <message>
        <source>_delete</source>
        <translation>حذف</translation>
    </message>
</context>
<context>
    <name>ChatMessageWidget</name>
    <message>
        <source>_NotSentNoDiskSpace</source>
        <translation>ارسال نشد: دیسک این رایانه پر است. با باز شدن جا فرستاده می‌شود.</translation>
    </message>
    <message>
        <source>_NotSentRefused</source>
        <translation>ارسال نشد: سرویس آن را نپذیرفت.</translation>
    </message>
    <message>
        <source>_CopySelectedText</source>
        <translation>کپی متن انتخاب‌شده</translation>
    </message>
    <message>
        <source>_CopyText</source>
        <translation>کپی متن</translation>
    </message>
    <message>
        <source>_EditMessage</source>
        <translation>ویرایش</translation>
    </message>
    <message>
        <source>_ReplyMessage</source>
        <translation>پاسخ</translation>
    </message>
    <message>
        <source>_SenderPicture</source>
        <translation>تصویر فرستنده</translation>
    </message>
</context>
<context>
    <name>ChatTab</name>
    <message>
        <source>No chat find.</source>
        <translation>گفتگویی یافت نشد.</translation>
    </message>
</context>
<context>
    <name>ChatWidget</name>
    <message>
        <source>_file</source>
        <translation>فایل</translation>
    </message>
    <message>
        <source>_gif</source>
        <translation>گیف</translation>
    </message>
    <message>
        <source>_image</source>
        <translation>تصویر</translation>
    </message>
    <message>
        <source>_location</source>
        <translation>موقعیت مکانی</translation>
    </message>
    <message>
        <source>_poll</source>
        <translation>نظرسنجی</translation>
    </message>
    <message>
        <source>_pushToTalk</source>
        <translation>پیام صوتی</translation>
    </message>
    <message>
        <source>_sticker</source>
        <translation>استیکر</translation>
    </message>
    <message>
        <source>_video</source>
        <translation>ویدیو</translation>
    </message>
</context>
<context>
    <name>ChatInputBar</name>
    <message>
        <source>compose message...</source>
        <translation>پیام خود را بنویسید...</translation>
    </message>
    <message>
        <source>_MessageField</source>
        <translation>پیام</translation>
    </message>
    <message>
        <source>_AttachFile</source>
        <translation>پیوست پرونده</translation>
    </message>
    <message>
        <source>_ChooseEmoji</source>
        <translation>شکلک</translation>
    </message>
    <message>
        <source>_SendMessage</source>
        <translation>ارسال</translation>
    </message>
    <message>
        <source>_MakePoll</source>
        <translation>ساخت نظرسنجی</translation>
    </message>
</context>
<context>
    <name>ChatWindow</name>
    <message>
        <source>Mute</source>
        <translation>بی‌صدا</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>باصدا</translation>
    </message>
    <message>
        <source>_DeleteHistoryWarningMessage</source>
        <translation>آیا تمام تاریخچه این گفتگو حذف شود؟</translation>
    </message>
    <message>
        <source>_removeGroup</source>
        <translation>شما دیگر عضو این گروه نیستید</translation>
    </message>
    <message>
        <source>_AllFiles</source>
        <translation>همه فایل‌ها</translation>
    </message>
    <message>
        <source>_selectFiles</source>
        <translation>انتخاب فایل‌ها</translation>
    </message>
</context>
<context>
    <name>ChatWindowTitle</name>
    <message>
        <source>_members</source>
        <translation>عضو</translation>
    </message>
</context>
<context>
    <name>ConnectionStatusWidget</name>
    <message>
        <source>_connected</source>
        <translation>متصل</translation>
    </message>
    <message>
        <source>_connecting</source>
        <translation>در حال اتصال...</translation>
    </message>
    <message>
        <source>_disconnected</source>
        <translation>در انتظار شبکه...</translation>
    </message>
    <message>
        <source>_loading</source>
        <translation>در حال بارگذاری...</translation>
    </message>
</context>
<context>
    <name>ContactProfile</name>
    <message>
        <source>_Call</source>
        <translation>تماس</translation>
    </message>
    <message>
        <source>_Cofig</source>
        <translation>تنظیمات</translation>
    </message>
    <message>
        <source>_DeleteChatHistory</source>
        <translation>حذف تاریخچه گفتگو</translation>
    </message>
    <message>
        <source>_DeleteContact</source>
        <translation>حذف مخاطب</translation>
    </message>
    <message>
        <source>_DeleteContactList</source>
        <translation>حذف گفتگو</translation>
    </message>
    <message>
        <source>_DeleteContactListWarningMessage</source>
        <translation>این گفتگو از فهرست حذف شود؟</translation>
    </message>
    <message>
        <source>_DeleteContactWarningMessage</source>
        <translation>این مخاطب حذف شود؟</translation>
    </message>
    <message>
        <source>_DeleteHistoryWarningMessage</source>
        <translation>آیا تمام تاریخچه این گفتگو حذف شود؟</translation>
    </message>
    <message>
        <source>_Mute</source>
        <translation>بی‌صدا کردن اعلان‌ها</translation>
    </message>
    <message>
        <source>_SendMessage</source>
        <translation>ارسال پیام</translation>
    </message>
    <message>
        <source>_Title</source>
        <translation>اطلاعات</translation>
    </message>
    <message>
        <source>_UserBlocking</source>
        <translation>مسدود کردن کاربر</translation>
    </message>
</context>
<context>
    <name>ContactSelect</name>
    <message>
        <source>Ignore</source>
        <translation>انصراف</translation>
    </message>
    <message>
        <source>Invite</source>
        <translation>دعوت</translation>
    </message>
    <message>
        <source>_NoContactToChoose</source>
        <translation>همه‌ی مخاطبان شما اینجا هستند</translation>
    </message>
</context>
<context>
    <name>ContactTab</name>
    <message>
        <source>No contact find.</source>
        <translation>مخاطبی یافت نشد.</translation>
    </message>
</context>
<context>
    <name>ContentPanel</name>
    <message>
        <source>_PleaseSelectAChat</source>
        <translation>برای شروع گفتگو یک چت را انتخاب کنید</translation>
    </message>
</context>
<context>
    <name>CreateChannel</name>
    <message>
        <source>Channel ID:</source>
        <translation>شناسه کانال:</translation>
    </message>
    <message>
        <source>Error: Enter channel ID</source>
        <translation>خطا: شناسه کانال را وارد کنید</translation>
    </message>
    <message>
        <source>Error: channel ID not valid</source>
        <translation>خطا: شناسه کانال معتبر نیست</translation>
    </message>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>فایل‌های تصویری (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>باز کردن تصویر</translation>
    </message>
    <message>
        <source>Please Enter channel ID</source>
        <translation>لطفاً شناسه کانال را وارد کنید</translation>
    </message>
    <message>
        <source>_ChannelCategoryButton</source>
        <translation>انتخاب دسته</translation>
    </message>
    <message>
        <source>_ChannelCategoryContain</source>
        <translation>دسته‌ای که کانال در آن قرار می‌گیرد</translation>
    </message>
    <message>
        <source>_ChannelCategoryHead</source>
        <translation>دسته</translation>
    </message>
    <message>
        <source>_ChannelNameContain</source>
        <translation>نامی که همه می‌بینند</translation>
    </message>
    <message>
        <source>_ChannelNameHead</source>
        <translation>نام کانال</translation>
    </message>
    <message>
        <source>_CreateChannel</source>
        <translation>ایجاد کانال</translation>
    </message>
    <message>
        <source>_EnterChannelDescription</source>
        <translation>توضیحی وارد کنید</translation>
    </message>
    <message>
        <source>_EnterChannelName</source>
        <translation>لطفاً نام کانال را وارد کنید</translation>
    </message>
    <message>
        <source>_ImageSelect</source>
        <translation>تصویر کانال</translation>
    </message>
    <message>
        <source>_MottoContain</source>
        <translation>توضیح کوتاهی درباره کانال</translation>
    </message>
    <message>
        <source>_MottoHead</source>
        <translation>توضیحات</translation>
    </message>
    <message>
        <source>_ReplyAllowed</source>
        <translation>اعضا می‌توانند پاسخ دهند</translation>
    </message>
    <message>
        <source>_Submit</source>
        <translation>ثبت</translation>
    </message>
    <message>
        <source>ـIgnore</source>
        <translation>انصراف</translation>
    </message>
    <message>
        <source>ـNetWorkError</source>
        <translation>خطای شبکه</translation>
    </message>
</context>
<context>
    <name>CreateGroup</name>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>فایل‌های تصویری (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>باز کردن تصویر</translation>
    </message>
    <message>
        <source>_Back</source>
        <translation>بازگشت</translation>
    </message>
    <message>
        <source>_Create</source>
        <translation>ایجاد</translation>
    </message>
    <message>
        <source>_EnterGroupName</source>
        <translation>لطفاً نام گروه را وارد کنید</translation>
    </message>
    <message>
        <source>_Next</source>
        <translation>بعدی</translation>
    </message>
    <message>
        <source>ـIgnore</source>
        <translation>انصراف</translation>
    </message>
</context>
<context>
    <name>CreatePollWidget</name>
    <message>
        <source>_addChoice</source>
        <translation>افزودن گزینه</translation>
    </message>
    <message>
        <source>_multipleChoice</source>
        <translation>چندگزینه‌ای</translation>
    </message>
    <message>
        <source>_pollQuestion</source>
        <translation>پرسش نظرسنجی</translation>
    </message>
    <message>
        <source>_pollType</source>
        <translation>نوع پرسش</translation>
    </message>
    <message>
        <source>_postPoll</source>
        <translation>ارسال</translation>
    </message>
    <message>
        <source>_questionChoices</source>
        <translation>گزینه‌های پرسش</translation>
    </message>
    <message>
        <source>_singleChoice</source>
        <translation>تک‌گزینه‌ای</translation>
    </message>
    <message>
        <source>_title</source>
        <translation>ایجاد نظرسنجی</translation>
    </message>
    <message>
        <source>_viewResults</source>
        <translation>نمایش نتایج برای همه</translation>
    </message>
    <message>
        <source>_invalidPoll</source>
        <translation>یک پرسش و دست‌کم یک گزینه بنویسید</translation>
    </message>
</context>
<context>
    <name>CustomTextEdit</name>
    <message>
        <source>compose message...</source>
        <translation>پیام خود را بنویسید...</translation>
    </message>
</context>
<context>
    <name>DateConverter</name>
    <message>
        <source>_Aban</source>
        <translation>آبان</translation>
    </message>
    <message>
        <source>_Ago</source>
        <translation> پیش</translation>
    </message>
    <message>
        <source>_Azar</source>
        <translation>آذر</translation>
    </message>
    <message>
        <source>_Bahman</source>
        <translation>بهمن</translation>
    </message>
    <message>
        <source>_Day</source>
        <translation>دی</translation>
    </message>
    <message>
        <source>_Esfand</source>
        <translation>اسفند</translation>
    </message>
    <message>
        <source>_Farvardin</source>
        <translation>فروردین</translation>
    </message>
    <message>
        <source>_Friday</source>
        <translation>جمعه</translation>
    </message>
    <message>
        <source>_Hour</source>
        <translation> ساعت</translation>
    </message>
    <message>
        <source>_Khordad</source>
        <translation>خرداد</translation>
    </message>
    <message>
        <source>_LastObservation</source>
        <translation>آخرین بازدید </translation>
    </message>
    <message>
        <source>_Mehr</source>
        <translation>مهر</translation>
    </message>
    <message>
        <source>_Minute</source>
        <translation> دقیقه</translation>
    </message>
    <message>
        <source>_Monday</source>
        <translation>دوشنبه</translation>
    </message>
    <message>
        <source>_Mordad</source>
        <translation>مرداد</translation>
    </message>
    <message>
        <source>_OnLine</source>
        <translation>آنلاین</translation>
    </message>
    <message>
        <source>_Ordibehesht</source>
        <translation>اردیبهشت</translation>
    </message>
    <message>
        <source>_Saturday</source>
        <translation>شنبه</translation>
    </message>
    <message>
        <source>_Shahrivar</source>
        <translation>شهریور</translation>
    </message>
    <message>
        <source>_Sunday</source>
        <translation>یکشنبه</translation>
    </message>
    <message>
        <source>_Thursday</source>
        <translation>پنجشنبه</translation>
    </message>
    <message>
        <source>_Tir</source>
        <translation>تیر</translation>
    </message>
    <message>
        <source>_Tuesday</source>
        <translation>سه‌شنبه</translation>
    </message>
    <message>
        <source>_Wednesday</source>
        <translation>چهارشنبه</translation>
    </message>
    <message>
        <source>_Yesterday</source>
        <translation>دیروز</translation>
    </message>
</context>
<context>
    <name>DiskFullNotice</name>
    <message>
        <source>_newMessagesWaitForDiskSpace</source>
        <translation>پیام‌های تازه تا خالی شدن جا روی دیسک منتظر می‌مانند: کمی جا باز کنید تا خودشان برسند.</translation>
    </message>
</context>
<context>
    <name>EditChannel</name>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>فایل‌های تصویری (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>باز کردن تصویر</translation>
    </message>
    <message>
        <source>_ChannelNameContain</source>
        <translation>نامی که همه می‌بینند</translation>
    </message>
    <message>
        <source>_ChannelNameHead</source>
        <translation>نام کانال</translation>
    </message>
    <message>
        <source>_EditChannel</source>
        <translation>ویرایش کانال</translation>
    </message>
    <message>
        <source>_EnterChannelDescription</source>
        <translation>توضیحی وارد کنید</translation>
    </message>
    <message>
        <source>_EnterChannelName</source>
        <translation>لطفاً نام کانال را وارد کنید</translation>
    </message>
    <message>
        <source>_ImageSelect</source>
        <translation>تصویر کانال</translation>
    </message>
    <message>
        <source>_MottoContain</source>
        <translation>توضیح کوتاهی درباره کانال</translation>
    </message>
    <message>
        <source>_MottoHead</source>
        <translation>توضیحات</translation>
    </message>
    <message>
        <source>_ReplyAllowed</source>
        <translation>اعضا می‌توانند پاسخ دهند</translation>
    </message>
    <message>
        <source>_Submit</source>
        <translation>ثبت</translation>
    </message>
    <message>
        <source>ـIgnore</source>
        <translation>انصراف</translation>
    </message>
    <message>
        <source>ـNetWorkError</source>
        <translation>خطای شبکه</translation>
    </message>
    <message>
        <source>_ChannelPicture</source>
        <translation>تصویر کانال</translation>
    </message>
</context>
<context>
    <name>EditGroup</name>
    <message>
        <source>_EditGroup</source>
        <translation>ویرایش گروه</translation>
    </message>
    <message>
        <source>_Name</source>
        <translation>نام گروه</translation>
    </message>
    <message>
        <source>_Submit</source>
        <translation>ثبت</translation>
    </message>
</context>
<context>
    <name>EditMessageWidget</name>
    <message>
        <source>_EditMessage</source>
        <translation>ویرایش پیام</translation>
    </message>
</context>
<context>
    <name>EmojiButtonsPanel</name>
    <message>
        <source>activities</source>
        <translation>فعالیت‌ها</translation>
    </message>
    <message>
        <source>food</source>
        <translation>خوراکی</translation>
    </message>
    <message>
        <source>nature</source>
        <translation>طبیعت</translation>
    </message>
    <message>
        <source>objects</source>
        <translation>اشیا</translation>
    </message>
    <message>
        <source>people</source>
        <translation>افراد</translation>
    </message>
    <message>
        <source>recent</source>
        <translation>اخیر</translation>
    </message>
    <message>
        <source>symbols</source>
        <translation>نمادها</translation>
    </message>
    <message>
        <source>travel</source>
        <translation>سفر و پرچم‌ها</translation>
    </message>
</context>
<context>
    <name>EnterActivationCode</name>
    <message>
        <source>ActivationCodeSent</source>
        <translation>کد فعال‌سازی ارسال شد</translation>
    </message>
    <message>
        <source>EditMobileNumber</source>
        <translation>&lt;a href="edit"&gt;ویرایش شماره&lt;/a&gt;</translation>
    </message>
    <message>
        <source>ResendActivationCode</source>
        <translation>ارسال دوباره کد</translation>
    </message>
    <message>
        <source>SendActivationCodebyIVR</source>
        <translation>دریافت کد با تماس صوتی</translation>
    </message>
    <message>
        <source>_ErrorCodeInvalid</source>
        <translation>کد فعال‌سازی معتبر نیست</translation>
    </message>
    <message>
        <source>_ErrorNetwork</source>
        <translation>خطای شبکه، لطفاً دوباره تلاش کنید</translation>
    </message>
    <message>
        <source>_submit</source>
        <translation>تأیید</translation>
    </message>
    <message>
        <source>_ActivationCodeField</source>
        <translation>کد فعال‌سازی</translation>
    </message>
    <message>
        <source>_ResendIcon</source>
        <translation>ارسال دوبارهٔ کد</translation>
    </message>
</context>
<context>
    <name>EnterMobileNumber</name>
    <message>
        <source>EnterMobileNumber</source>
        <translation>شماره موبایل خود را وارد کنید</translation>
    </message>
    <message>
        <source>TermOfAgrementLink</source>
        <translation>با ادامه، &lt;a href="terms"&gt;شرایط استفاده&lt;/a&gt; را می‌پذیرید.</translation>
    </message>
    <message>
        <source>_ErrorMobileNumberNotValid</source>
        <translation>شماره موبایل معتبر نیست</translation>
    </message>
    <message>
        <source>_ErrorNetwork</source>
        <translation>خطای شبکه، لطفاً دوباره تلاش کنید</translation>
    </message>
    <message>
        <source>into_nextbutton</source>
        <translation>بعدی</translation>
    </message>
    <message>
        <source>_MobileNumberField</source>
        <translation>شماره موبایل</translation>
    </message>
</context>
<context>
    <name>ForceUpdateError</name>
    <message>
        <source>_DownloadNewVersion</source>
        <translation>دریافت نسخه جدید</translation>
    </message>
    <message>
        <source>_ForceUpdateMessage</source>
        <translation>این نسخه دیگر پشتیبانی نمی‌شود. لطفاً نسخه جدید را نصب کنید.</translation>
    </message>
    <message>
        <source>_CloseProgram</source>
        <translation>بستن برنامه</translation>
    </message>
</context>
<context>
    <name>GroupLookupViewer</name>
    <message>
        <source>_Join</source>
        <translation>عضویت</translation>
    </message>
    <message>
        <source>_Members</source>
        <translation>عضو</translation>
    </message>
    <message>
        <source>_Preview</source>
        <translation>پیش‌نمایش</translation>
    </message>
    <message>
        <source>_Return</source>
        <translation>بازگشت</translation>
    </message>
    <message>
        <source>_SendMsg</source>
        <translation>ارسال پیام</translation>
    </message>
</context>
<context>
    <name>GroupProfile</name>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>فایل‌های تصویری (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>باز کردن تصویر</translation>
    </message>
    <message>
        <source>_AddContact</source>
        <translation>افزودن عضو</translation>
    </message>
    <message>
        <source>_AddManager</source>
        <translation>افزودن مدیر</translation>
    </message>
    <message>
        <source>_ChangeImage</source>
        <translation>تغییر تصویر</translation>
    </message>
    <message>
        <source>_Cofig</source>
        <translation>تنظیمات</translation>
    </message>
    <message>
        <source>_DeleteChatHistory</source>
        <translation>حذف تاریخچه گفتگو</translation>
    </message>
    <message>
        <source>_DeleteContactListWarningMessage</source>
        <translation>از این گروه خارج و آن را حذف می‌کنید؟</translation>
    </message>
    <message>
        <source>_DeleteGroupList</source>
        <translation>خروج از گروه</translation>
    </message>
    <message>
        <source>_DeleteHistoryWarningMessage</source>
        <translation>آیا تمام تاریخچه این گفتگو حذف شود؟</translation>
    </message>
    <message>
        <source>_EditGroup</source>
        <translation>ویرایش گروه</translation>
    </message>
    <message>
        <source>_GroupManagers</source>
        <translation>مدیران</translation>
    </message>
    <message>
        <source>_GroupMembers</source>
        <translation>اعضا</translation>
    </message>
    <message>
        <source>_ReceiveNotification</source>
        <translation>بی‌صدا کردن اعلان‌ها</translation>
    </message>
    <message>
        <source>_Title</source>
        <translation>اطلاعات</translation>
    </message>
    <message>
        <source>_UserBlocking</source>
        <translation>مسدود کردن</translation>
    </message>
    <message>
        <source>_ChooseNewMembers</source>
        <translation>افزودن عضو</translation>
    </message>
    <message>
        <source>_ChooseNewManagers</source>
        <translation>انتخاب مدیر</translation>
    </message>
    <message>
        <source>_NoMemberToPromote</source>
        <translation>همه‌ی اعضا مدیر هستند</translation>
    </message>
    <message>
        <source>_MakeManagers</source>
        <translation>تعیین مدیر</translation>
    </message>
</context>
<context>
    <name>GroupTab</name>
    <message>
        <source>No chat find.</source>
        <translation>گفتگویی یافت نشد.</translation>
    </message>
    <message>
        <source>_NewGroup</source>
        <translation>گروه جدید</translation>
    </message>
    <message>
        <source>_NoGroupYet</source>
        <translation>هنوز در هیچ گروهی نیستید.</translation>
    </message>
</context>
<context>
    <name>HtmlContainer</name>
    <message>
        <source>_CopySelectedText</source>
        <translation>کپی متن انتخاب‌شده</translation>
    </message>
    <message>
        <source>_CopyText</source>
        <translation>کپی متن</translation>
    </message>
</context>
<context>
    <name>Intro</name>
    <message>
        <source>Quorvel_Intro_Message</source>
        <translation>به کوورل خوش آمدید. با دوستان، گروه‌ها و کانال‌های خود سریع و امن گفتگو کنید.</translation>
    </message>
    <message>
        <source>_IntroButton</source>
        <translation>شروع</translation>
    </message>
</context>
<context>
    <name>OtherFileWidget</name>
    <message>
        <source>_location</source>
        <translation>موقعیت مکانی</translation>
    </message>
    <message>
        <source>_transferFailed</source>
        <translation>ناموفق بود، برای تلاش دوباره بزنید</translation>
    </message>
</context>
<context>
    <name>MessengerMainWindow</name>
    <message>
        <source>AddNewContact</source>
        <translation>افزودن مخاطب</translation>
    </message>
    <message>
        <source>New Channel</source>
        <translation>کانال جدید</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>نمایه</translation>
    </message>
    <message>
        <source>_AppVersion</source>
        <translation>نسخه</translation>
    </message>
    <message>
        <source>_ChannelList</source>
        <translation>فهرست کانال‌ها</translation>
    </message>
    <message>
        <source>_LogoutMessage</source>
        <translation>آیا می‌خواهید از حساب خود خارج شوید؟</translation>
    </message>
    <message>
        <source>_UserIsDeactive</source>
        <translation>حساب کاربری شما غیرفعال شده است و از برنامه خارج می‌شوید.</translation>
    </message>
    <message>
        <source>_bilion</source>
        <translation>میلیارد</translation>
    </message>
    <message>
        <source>_gif</source>
        <translation>گیف</translation>
    </message>
    <message>
        <source>_image</source>
        <translation>تصویر</translation>
    </message>
    <message>
        <source>_location</source>
        <translation>موقعیت مکانی</translation>
    </message>
    <message>
        <source>_logout</source>
        <translation>خروج</translation>
    </message>
    <message>
        <source>_milion</source>
        <translation>میلیون</translation>
    </message>
    <message>
        <source>_otherFile</source>
        <translation>فایل</translation>
    </message>
    <message>
        <source>_poll</source>
        <translation>نظرسنجی</translation>
    </message>
    <message>
        <source>_pushToTalk</source>
        <translation>پیام صوتی</translation>
    </message>
    <message>
        <source>_settings</source>
        <translation>تنظیمات</translation>
    </message>
    <message>
        <source>_sticker</source>
        <translation>استیکر</translation>
    </message>
    <message>
        <source>_thousand</source>
        <translation>هزار</translation>
    </message>
    <message>
        <source>_video</source>
        <translation>ویدیو</translation>
    </message>
    <message>
        <source>_NewGroup</source>
        <translation>گروه جدید</translation>
    </message>
</context>
<context>
    <name>PollWidget</name>
    <message>
        <source>_noOptionSelected</source>
        <translation>گزینه‌ای انتخاب نشده است</translation>
    </message>
    <message>
        <source>_showResults</source>
        <translation>نمایش نتایج</translation>
    </message>
    <message>
        <source>_vote</source>
        <translation>رأی</translation>
    </message>
</context>
<context>
    <name>PopUpWarning</name>
    <message>
        <source>_ContinueString</source>
        <translation>ادامه</translation>
    </message>
    <message>
        <source>_NoString</source>
        <translation>خیر</translation>
    </message>
    <message>
        <source>_YesString</source>
        <translation>بله</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Quorvel %1</source>
        <translation>کوورل %1</translation>
    </message>
</context>
<context>
    <name>ReplyMessageOutLine</name>
    <message>
        <source>_Location</source>
        <translation>موقعیت مکانی</translation>
    </message>
    <message>
        <source>_MsgFileType_Gif</source>
        <translation>گیف</translation>
    </message>
    <message>
        <source>_MsgFileType_Image</source>
        <translation>تصویر</translation>
    </message>
    <message>
        <source>_MsgFileType_Other</source>
        <translation>فایل</translation>
    </message>
    <message>
        <source>_MsgFileType_PushToTalk</source>
        <translation>پیام صوتی</translation>
    </message>
    <message>
        <source>_MsgFileType_Video</source>
        <translation>ویدیو</translation>
    </message>
    <message>
        <source>_MsgMinorType_Poll</source>
        <translation>نظرسنجی</translation>
    </message>
    <message>
        <source>_Sticker</source>
        <translation>استیکر</translation>
    </message>
</context>
<context>
    <name>ReplyMessageWidget</name>
    <message>
        <source>_Location</source>
        <translation>موقعیت مکانی</translation>
    </message>
    <message>
        <source>_MsgFileType_Gif</source>
        <translation>گیف</translation>
    </message>
    <message>
        <source>_MsgFileType_Image</source>
        <translation>تصویر</translation>
    </message>
    <message>
        <source>_MsgFileType_Other</source>
        <translation>فایل</translation>
    </message>
    <message>
        <source>_MsgFileType_PushToTalk</source>
        <translation>پیام صوتی</translation>
    </message>
    <message>
        <source>_MsgFileType_Video</source>
        <translation>ویدیو</translation>
    </message>
    <message>
        <source>_Poll</source>
        <translation>نظرسنجی</translation>
    </message>
    <message>
        <source>_Sticker</source>
        <translation>استیکر</translation>
    </message>
</context>
<context>
    <name>SearchBar</name>
    <message>
        <source>SearchBarHintText</source>
        <translation>جستجو</translation>
    </message>
    <message>
        <source>_Search</source>
        <translation>جست‌وجو</translation>
    </message>
    <message>
        <source>_ClearSearch</source>
        <translation>پاک کردن جست‌وجو</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>_AutoScaleStr</source>
        <translation>خودکار</translation>
    </message>
    <message>
        <source>_AutomaticDownload</source>
        <translation>دریافت خودکار</translation>
    </message>
    <message>
        <source>_Edit</source>
        <translation>ویرایش</translation>
    </message>
    <message>
        <source>_File</source>
        <translation>فایل‌ها</translation>
    </message>
    <message>
        <source>_InterfaceScale</source>
        <translation>اندازه رابط کاربری</translation>
    </message>
    <message>
        <source>_NotifDeactive</source>
        <translation>غیرفعال کردن اعلان‌ها</translation>
    </message>
    <message>
        <source>_NotificationPart</source>
        <translation>اعلان‌ها</translation>
    </message>
    <message>
        <source>_Photo</source>
        <translation>عکس‌ها</translation>
    </message>
    <message>
        <source>_ScaleNeedtoReset</source>
        <translation>برای اعمال اندازه جدید، برنامه دوباره اجرا می‌شود. ادامه می‌دهید؟</translation>
    </message>
    <message>
        <source>_SelectBackground</source>
        <translation>پس‌زمینه گفتگو</translation>
    </message>
    <message>
        <source>_SendbyEnter</source>
        <translation>ارسال با Enter</translation>
    </message>
    <message>
        <source>_SendbyShiftEnter</source>
        <translation>ارسال با Shift+Enter</translation>
    </message>
    <message>
        <source>_Setting</source>
        <translation>تنظیمات</translation>
    </message>
    <message>
        <source>_ShowMessagePreview</source>
        <translation>نمایش پیش‌نمایش پیام</translation>
    </message>
    <message>
        <source>_Video</source>
        <translation>ویدیوها</translation>
    </message>
    <message>
        <source>_chatSetting</source>
        <translation>تنظیمات گفتگو</translation>
    </message>
    <message>
        <source>_CloseSettings</source>
        <translation>بستن تنظیمات</translation>
    </message>
</context>
<context>
    <name>SideMenu</name>
    <message>
        <source>_AppVersion</source>
        <translation>نسخه</translation>
    </message>
    <message>
        <source>_CloseMenu</source>
        <translation>بستن منو</translation>
    </message>
</context>
<context>
    <name>SlidingMenu</name>
    <message>
        <source>_AppVersion</source>
        <translation>نسخه</translation>
    </message>
</context>
<context>
    <name>ToastMessage</name>
    <message>
        <source>_ErrorNetwork</source>
        <translation>خطای شبکه، لطفاً دوباره تلاش کنید</translation>
    </message>
    <message>
        <source>_alreadyVoted</source>
        <translation>شما قبلاً رأی داده‌اید</translation>
    </message>
    <message>
        <source>_invalidPollData</source>
        <translation>نظرسنجی معتبر نیست</translation>
    </message>
    <message>
        <source>_invalidVoteData</source>
        <translation>رأی معتبر نیست</translation>
    </message>
    <message>
        <source>_notAllowedToVote</source>
        <translation>شما اجازه رأی دادن در این نظرسنجی را ندارید</translation>
    </message>
    <message>
        <source>_pollDisabled</source>
        <translation>این نظرسنجی بسته شده است</translation>
    </message>
    <message>
        <source>_pollNotFound</source>
        <translation>نظرسنجی یافت نشد</translation>
    </message>
    <message>
        <source>_resultDisabled</source>
        <translation>نتایج این نظرسنجی پنهان است</translation>
    </message>
    <message>
        <source>_uploadFailed</source>
        <translation>بارگذاری ناموفق بود</translation>
    </message>
    <message>
        <source>_uploadFileTypeNotSupported</source>
        <translation>این نوع فایل پشتیبانی نمی‌شود</translation>
    </message>
    <message>
        <source>_uploadInternalError</source>
        <translation>بارگذاری آغاز نشد</translation>
    </message>
    <message>
        <source>_uploadNetworkError</source>
        <translation>بارگذاری به علت خطای شبکه ناموفق بود</translation>
    </message>
    <message>
        <source>_voteSubmitted</source>
        <translation>رأی شما ثبت شد</translation>
    </message>
    <message>
        <source>_pictureNotReadable</source>
        <translation>این تصویر خوانده نمی‌شود</translation>
    </message>
</context>
<context>
    <name>UserLookupViewer</name>
    <message>
        <source>_Join</source>
        <translation>عضویت</translation>
    </message>
    <message>
        <source>_Members</source>
        <translation>عضو</translation>
    </message>
    <message>
        <source>_Preview</source>
        <translation>پیش‌نمایش</translation>
    </message>
    <message>
        <source>_Return</source>
        <translation>بازگشت</translation>
    </message>
    <message>
        <source>_SendMsg</source>
        <translation>ارسال پیام</translation>
    </message>
</context>
<context>
    <name>UserProfile</name>
    <message>
        <source>_ImageUnreadable</source>
        <translation>تصویر انتخاب‌شده خوانا نیست</translation>
    </message>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>فایل‌های تصویری (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>باز کردن تصویر</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>نمایه</translation>
    </message>
    <message>
        <source>_Motto</source>
        <translation>شعار</translation>
    </message>
    <message>
        <source>_Submit</source>
        <translation>ثبت</translation>
    </message>
    <message>
        <source>_UserID</source>
        <translation>شناسه کاربری</translation>
    </message>
    <message>
        <source>_UserName</source>
        <translation>نام</translation>
    </message>
    <message>
        <source>ـEnterUserName</source>
        <translation>لطفاً نامی وارد کنید</translation>
    </message>
    <message>
        <source>ـNetWorkError</source>
        <translation>خطای شبکه</translation>
    </message>
    <message>
        <source>_ChoosePicture</source>
        <translation>انتخاب تصویر</translation>
    </message>
</context>
<context>
    <name>PTTWidget</name>
    <message>
        <source>_PushToTalk</source>
        <translation>پیام صوتی</translation>
    </message>
    <message>
        <source>_transferFailed</source>
        <translation>ناموفق بود، برای تلاش دوباره بزنید</translation>
    </message>
</context>
<context>
    <name>Thumbnail</name>
    <message>
        <source>_transferFailed</source>
        <translation>ناموفق بود، برای تلاش دوباره بزنید</translation>
    </message>
    <message>
        <source>_stickerUnavailable</source>
        <translation>استیکر در دسترس نیست</translation>
    </message>
</context>
<context>
    <name>FailureToast</name>
    <message>
        <source>_ActionFailedBecause</source>
        <translation>%1 انجام نشد: %2</translation>
    </message>
    <message>
        <source>_FailVoiceCall</source>
        <translation>درخواست تماس صوتی</translation>
    </message>
    <message>
        <source>_FailLookup</source>
        <translation>جست‌وجو</translation>
    </message>
    <message>
        <source>_FailSetProfile</source>
        <translation>ذخیرهٔ نمایه</translation>
    </message>
    <message>
        <source>_FailSetId</source>
        <translation>ثبت شناسه</translation>
    </message>
    <message>
        <source>_FailDeactivate</source>
        <translation>حذف حساب</translation>
    </message>
    <message>
        <source>_FailChannelCreate</source>
        <translation>ساختن کانال</translation>
    </message>
    <message>
        <source>_FailChannelEdit</source>
        <translation>ذخیرهٔ کانال</translation>
    </message>
    <message>
        <source>_FailChannelJoin</source>
        <translation>پیوستن به کانال</translation>
    </message>
    <message>
        <source>_FailChannelLeave</source>
        <translation>ترک کانال</translation>
    </message>
    <message>
        <source>_FailChannelDelete</source>
        <translation>حذف کانال</translation>
    </message>
    <message>
        <source>_FailAddMember</source>
        <translation>افزودن عضو</translation>
    </message>
    <message>
        <source>_FailRemoveMember</source>
        <translation>حذف عضو</translation>
    </message>
    <message>
        <source>_FailChangeRole</source>
        <translation>تغییر نقش</translation>
    </message>
    <message>
        <source>_FailGroupCreate</source>
        <translation>ساختن گروه</translation>
    </message>
    <message>
        <source>_FailGroupEdit</source>
        <translation>ذخیرهٔ گروه</translation>
    </message>
    <message>
        <source>_FailGroupLeave</source>
        <translation>ترک گروه</translation>
    </message>
    <message>
        <source>_ReasonNoAnswer</source>
        <translation>سرویس پاسخ نداد؛ اتصال را بررسی کنید</translation>
    </message>
    <message>
        <source>_ReasonNumberRefused</source>
        <translation>شماره پذیرفته نشد</translation>
    </message>
    <message>
        <source>_ReasonBadRequest</source>
        <translation>سرویس درخواست را نپذیرفت</translation>
    </message>
    <message>
        <source>_ReasonNotAllowed</source>
        <translation>شما اجازهٔ این کار را ندارید</translation>
    </message>
    <message>
        <source>_ReasonNotFound</source>
        <translation>دیگر وجود ندارد</translation>
    </message>
    <message>
        <source>_ReasonTaken</source>
        <translation>این نام گرفته شده یا از قبل وجود دارد</translation>
    </message>
    <message>
        <source>_ReasonService</source>
        <translation>سرویس اکنون نتوانست؛ بعداً دوباره تلاش کنید</translation>
    </message>
</context>
<context>
    <name>Register</name>
    <message>
        <source>_VoiceCallComing</source>
        <translation>به‌زودی تماسی با کد دریافت می‌کنید</translation>
    </message>
</context>
<context>
    <name>SidePanel</name>
    <message>
        <source>_TabContacts</source>
        <translation>مخاطبین</translation>
    </message>
    <message>
        <source>_TabChats</source>
        <translation>گفتگوها</translation>
    </message>
    <message>
        <source>_TabGroups</source>
        <translation>گروه‌ها</translation>
    </message>
    <message>
        <source>_TabChannels</source>
        <translation>کانال‌ها</translation>
    </message>
</context>
<context>
    <name>TopMenu</name>
    <message>
        <source>_OpenMenu</source>
        <translation>منو</translation>
    </message>
</context>
<context>
    <name>PopupWindow</name>
    <message>
        <source>_Back</source>
        <translation>بازگشت</translation>
    </message>
</context>
<context>
    <name>ProfileHeader</name>
    <message>
        <source>_Back</source>
        <translation>بازگشت</translation>
    </message>
</context>
<context>
    <name>ChannelManagerWidget</name>
    <message>
        <source>_RemoveManager</source>
        <translation>حذف از مدیران</translation>
    </message>
</context>
<context>
    <name>GroupNotice</name>
    <message>
        <source>_NoticeRemoved</source>
        <translation>%1 از گروه حذف شد</translation>
    </message>
    <message>
        <source>_NoticeAdded</source>
        <translation>%1 به گروه اضافه شد</translation>
    </message>
    <message>
        <source>_NoticeMadeManager</source>
        <translation>%1 مدیر گروه شد</translation>
    </message>
    <message>
        <source>_NoticeNoLongerManager</source>
        <translation>%1 دیگر مدیر گروه نیست</translation>
    </message>
    <message>
        <source>_NoticeRoleChanged</source>
        <translation>نقش %1 در گروه تغییر کرد</translation>
    </message>
    <message>
        <source>_NoticeDetailsChanged</source>
        <translation>مشخصات گروه تغییر کرد</translation>
    </message>
    <message>
        <source>_NoticeLeft</source>
        <translation>%1 گروه را ترک کرد</translation>
    </message>
    <message>
        <source>_NoticeCreated</source>
        <translation>%1 گروه را ساخت</translation>
    </message>
</context>
</TS>
