type EMine = class(Exception);
     ESub = class(EMine);
procedure Check(n: Integer);
begin
  if n < 0 then raise ESub.Create('negative ' + IntToStr(n));
  if n = 0 then raise Exception.Create('zero');
end;
var i: Integer;
for i := -1 to 1 do
  try
    try
      Check(i);
      PrintLn('ok ' + IntToStr(i));
    finally
      PrintLn('finally ' + IntToStr(i));
    end;
  except
    on E: EMine do PrintLn('mine: ' + E.Message + ' ' + E.ClassName);
    on E: Exception do PrintLn('other: ' + E.Message);
  end;
// expect: finally -1
// expect: mine: negative -1 ESub
// expect: finally 0
// expect: other: zero
// expect: ok 1
// expect: finally 1
