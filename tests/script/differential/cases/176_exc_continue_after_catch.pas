var i, ok, failed: Integer;
  total: Float;
begin
  ok := 0;
  failed := 0;
  total := 0;
  for i := 1 to 10 do
  begin
    try
      if i mod 3 = 0 then
        raise Exception.Create('element ' + IntToStr(i));
      total := total + 1 / i;
      ok := ok + 1;
    except
      on E: Exception do
      begin
        failed := failed + 1;
        PrintLn('skipped ' + E.Message);
      end;
    end;
  end;
  PrintLn(ok);
  PrintLn(failed);
  PrintLn(total);
end.
